#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "app/PreviewPlayer.h"
#include "app/views/ListRows.h"
#include "components/audio/AudioFile2.h"
#include "components/output/AudioPlayer2.h"
#include "components/skin/SkinWidget.h"
#include "sources/MulDiv.h"
#include "tests/support/GeneratedAudio.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/window/MainWindowHarness.h"
#include "tests/support/window/SourceFiles.h"

namespace tarvex {
namespace {

using testing::MainWindowHarness;
using testing::makeWavSource;

// A 100-second source: 8000 Hz mono WAV, 800 000 frames; its bar maximum is
// 1084 with a page of 51, so the bar's span is 1033.
constexpr int kSpan = 1033;
constexpr int64_t kRate = 8000;
constexpr int kRampFrames = 40;  // the player's 5 ms fade-in
// The null output's clock runs this much faster than real time.
constexpr double kSpeed = 20;

int secondsOf(const QString& label) {
  const QStringList parts = label.split(QLatin1Char(':'));
  if (parts.size() != 3) return -1;
  return parts[0].toInt() * 3600 + parts[1].toInt() * 60 + parts[2].toInt();
}

class PreviewPlayerWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    media_ = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/tarvex-player-XXXXXX"));
    makeWavSource(media("a100.wav"), 100);
    makeWavSource(media("short3.wav"), 3);
    audio_ = new std::vector<float>(testing::decodeFile(media("a100.wav")));
  }
  static void TearDownTestSuite() {
    delete audio_;
    delete media_;
  }
  static QString media(const QString& name) { return media_->path() + QLatin1Char('/') + name; }

  void SetUp() override {
    harness.show();
    harness.window().AudioPlayer21().setNullOutputSpeed(kSpeed);
    harness.window().AudioPlayer21().setRecording(true);
    // What the window shows at every timer step, after the player handled it.
    QObject::connect(&harness.window().AudioPlayer21(), &AudioPlayer2::OnTimer,
                     [this](qint64 frames, int, int) {
                       ticks.push_back({frames, harness.skinText("timecaption"), bar().position(),
                                        harness.player().IsPlaying()});
                     });
  }

  skin::SkinObject& bar() { return *harness.window().Skin1().findObject("pb"); }
  PreviewPlayer& player() { return harness.window().previewPlayer(); }
  bool waitUntilStopped(int ms = 15000) {
    return QTest::qWaitFor([this] { return !harness.player().IsPlaying(); }, ms);
  }

  // Marks one range of the 100-second source by the bar and confirms it.
  void markRange(int beginBar, int endBar) {
    bar().setPosition(beginBar);
    harness.clickSkin("Begin");
    bar().setPosition(endBar);
    harness.clickSkin("End");
    harness.clickSkin("Ok");
  }

  // Plays the piece 00:01:00 - 00:01:30 of the 100-second source.
  void playPieceSixtyToNinety() {
    harness.addFiles({media("a100.wav")});
    markRange(620, 930);
    ASSERT_EQ(harness.segmentRows().value(0), "00:01:00 - 00:01:30|00:00:30|Ok");
    harness.clickSegmentRow(0);
    ticks.clear();
    harness.clickSkin("play");
    ASSERT_TRUE(harness.player().IsPlaying());
    ASSERT_TRUE(player().SegmentPlayback());
  }

  // The heard sound equals the file's from `firstFrame` (after the fade-in).
  void expectHeardFrom(int64_t firstFrame, int64_t atLeastFrames) {
    const std::vector<float> heard = harness.window().AudioPlayer21().recordedAudio();
    ASSERT_GE(static_cast<int64_t>(heard.size()), atLeastFrames);
    for (int64_t i = kRampFrames; i < static_cast<int64_t>(heard.size()); ++i) {
      ASSERT_EQ(heard[static_cast<size_t>(i)], audio_->at(static_cast<size_t>(firstFrame + i)))
          << "heard frame " << i;
    }
  }

  struct Tick {
    qint64 frames;
    QString label;
    int bar;
    bool playing;
  };

  static QTemporaryDir* media_;
  static std::vector<float>* audio_;
  MainWindowHarness harness;
  std::vector<Tick> ticks;
};

QTemporaryDir* PreviewPlayerWindow::media_ = nullptr;
std::vector<float>* PreviewPlayerWindow::audio_ = nullptr;

TEST_F(PreviewPlayerWindow, PlayingFromTheMiddleOfTheBarShowsTheAbsoluteTime) {
  harness.addFiles({media("a100.wav")});
  ASSERT_EQ(bar().span(), kSpan);
  bar().setPosition(kSpan / 2);
  harness.clickSkin("play");
  ASSERT_TRUE(harness.player().IsPlaying());
  EXPECT_FALSE(player().SegmentPlayback());
  const int64_t start = MulDiv(kSpan / 2, 800000, kSpan);
  EXPECT_EQ(player().PlayOffset(), start);

  ASSERT_TRUE(
      QTest::qWaitFor([this] { return !ticks.empty() && ticks.back().frames > 5 * kRate; }, 10000));
  for (const Tick& tick : ticks) {
    // The label is the time in the file, the bar follows it.
    EXPECT_EQ(secondsOf(tick.label), MulDiv(start + tick.frames, 100, 800000));
    EXPECT_EQ(tick.bar, MulDiv(start + tick.frames, kSpan, 800000));
  }
  EXPECT_GE(secondsOf(ticks.back().label), 55);
  harness.clickSkin("stop");
  EXPECT_FALSE(harness.player().IsPlaying());
  expectHeardFrom(start, 5 * kRate);
}

TEST_F(PreviewPlayerWindow, APiecePlaysItsRangeShowsPlayingAndStopsAtItsEnd) {
  playPieceSixtyToNinety();
  EXPECT_EQ(player().PlayOffset(), 0);
  EXPECT_EQ(player().SavedStatus(), "Ok");
  EXPECT_EQ(harness.segmentRows().value(0), "00:01:00 - 00:01:30|00:00:30|Playing");
  ASSERT_TRUE(waitUntilStopped());

  ASSERT_GE(ticks.size(), 10u);
  EXPECT_EQ(ticks.front().label, "00:00:00");
  const int64_t pieceFrames = 30 * kRate;
  for (const Tick& tick : ticks) {
    if (!tick.playing) continue;
    EXPECT_LE(secondsOf(tick.label), 30);
    EXPECT_EQ(tick.bar, MulDiv(tick.frames, kSpan, pieceFrames));
  }
  // It stopped at the tick where the bar reached its end: the piece's 30 s.
  const Tick& last = ticks.back();
  EXPECT_FALSE(last.playing);
  EXPECT_GE(last.frames, pieceFrames - pieceFrames / (2 * kSpan));
  EXPECT_LT(last.frames, pieceFrames + kRate);
  EXPECT_EQ(std::count_if(ticks.begin(), ticks.end(), [](const Tick& t) { return !t.playing; }), 1);

  EXPECT_EQ(harness.segmentRows().value(0), "00:01:00 - 00:01:30|00:00:30|Ok");
  EXPECT_EQ(harness.skinText("timecaption"), "00:00:00");
  EXPECT_EQ(bar().position(), 0);
  // What was heard is the file from 60 s on.
  expectHeardFrom(60 * kRate, pieceFrames - pieceFrames / kSpan);
}

TEST_F(PreviewPlayerWindow, DraggingToTheMiddleOfAPieceContinuesFifteenSecondsIn) {
  playPieceSixtyToNinety();
  ASSERT_TRUE(QTest::qWaitFor([this] { return ticks.size() >= 2; }, 10000));
  skin::SkinWidget& skin = harness.window().Skin1();
  QPoint at = skin.sliderThumbRect("pb").center();
  QTest::mousePress(&skin, Qt::LeftButton, {}, at);
  EXPECT_TRUE(harness.player().IsDragging());
  while (bar().position() < kSpan / 2 && at.x() < skin.width()) {
    at += QPoint(1, 0);
    QTest::mouseMove(&skin, at);
  }
  const int dropped = bar().position();
  ASSERT_NEAR(dropped, kSpan / 2, 6);
  // While dragging, the label shows the place in the piece and the timer leaves the bar alone.
  EXPECT_EQ(harness.skinText("timecaption"), "00:00:15");
  QTest::qWait(100);
  EXPECT_EQ(bar().position(), dropped);

  ticks.clear();
  QTest::mouseRelease(&skin, Qt::LeftButton, {}, at);
  EXPECT_FALSE(harness.player().IsDragging());
  ASSERT_TRUE(harness.player().IsPlaying());
  EXPECT_EQ(player().PlayOffset(), MulDiv(dropped, 30 * kRate, kSpan));
  EXPECT_NEAR(static_cast<double>(player().PlayOffset()) / kRate, 15.0, 0.1);
  ASSERT_TRUE(QTest::qWaitFor([this] { return !ticks.empty(); }, 10000));
  // The count restarted at the drop; the time goes on from 15 s into the piece.
  EXPECT_LT(ticks.front().frames, 2 * kRate);
  EXPECT_EQ(secondsOf(ticks.front().label),
            MulDiv(player().PlayOffset() + ticks.front().frames, 100, 800000));
  EXPECT_GE(secondsOf(ticks.front().label), 15);
  EXPECT_LE(secondsOf(ticks.front().label), 17);
  ASSERT_TRUE(waitUntilStopped());
  EXPECT_EQ(harness.segmentRows().value(0), "00:01:00 - 00:01:30|00:00:30|Ok");
}

TEST_F(PreviewPlayerWindow, DroppingTheBarAtItsRightEndStops) {
  harness.addFiles({media("a100.wav")});
  harness.clickSkin("play");
  ASSERT_TRUE(harness.player().IsPlaying());
  skin::SkinWidget& skin = harness.window().Skin1();
  const QPoint at = skin.sliderThumbRect("pb").center();
  QTest::mousePress(&skin, Qt::LeftButton, {}, at);
  QTest::mouseMove(&skin, QPoint(skin.width() + 100, at.y()));
  EXPECT_EQ(bar().position(), kSpan);
  EXPECT_EQ(harness.skinText("timecaption"), "00:01:40");
  QTest::mouseRelease(&skin, Qt::LeftButton, {}, QPoint(skin.width() + 100, at.y()));
  EXPECT_FALSE(harness.player().IsPlaying());
  EXPECT_FALSE(harness.player().IsDragging());
  EXPECT_FALSE(harness.window().AudioPlayer21().isPlaying());
  EXPECT_FALSE(harness.window().AudioFileRead().IsOpen());
  EXPECT_EQ(bar().position(), 0);
  EXPECT_EQ(harness.skinText("timecaption"), "00:00:00");
}

TEST_F(PreviewPlayerWindow, DroppingTheBarWhileStoppedOnlyMovesIt) {
  harness.addFiles({media("a100.wav")});
  skin::SkinWidget& skin = harness.window().Skin1();
  QPoint at = skin.sliderThumbRect("pb").center();
  QTest::mousePress(&skin, Qt::LeftButton, {}, at);
  at += QPoint(60, 0);
  QTest::mouseMove(&skin, at);
  QTest::mouseRelease(&skin, Qt::LeftButton, {}, at);
  const int dropped = bar().position();
  EXPECT_GT(dropped, 0);
  EXPECT_FALSE(harness.player().IsPlaying());
  EXPECT_EQ(secondsOf(harness.skinText("timecaption")), MulDiv(dropped, 100, kSpan));
  // Play starts where the bar was dropped.
  harness.clickSkin("play");
  EXPECT_EQ(player().PlayOffset(), MulDiv(dropped, 800000, kSpan));
}

TEST_F(PreviewPlayerWindow, SteppingMovesByTheStepAndBackStopsAtZero) {
  harness.addFiles({media("a100.wav")});
  ASSERT_EQ(harness.window().sources().at(0).barMax, 1084);
  harness.clickSkin("qian");
  EXPECT_EQ(bar().position(), 10);
  EXPECT_EQ(harness.skinText("timecaption"), "00:00:01");
  harness.clickSkin("qian");
  EXPECT_EQ(bar().position(), 20);
  bar().setPosition(3);
  harness.clickSkin("hou");
  EXPECT_EQ(bar().position(), 0);
  EXPECT_EQ(harness.skinText("timecaption"), "00:00:00");
  // No step past the end.
  bar().setPosition(kSpan - 5);
  harness.clickSkin("qian");
  EXPECT_EQ(bar().position(), kSpan - 5);
  // Not while playing, nor while a job runs.
  bar().setPosition(100);
  harness.clickSkin("play");
  harness.clickSkin("qian");
  harness.clickSkin("stop");
  EXPECT_EQ(bar().position(), 0);
  harness.holdJob();
  harness.clickSkin("qian");
  harness.clickSkin("play");
  EXPECT_EQ(bar().position(), 0);
  EXPECT_FALSE(harness.player().IsPlaying());
  harness.window().StopJob();
}

TEST_F(PreviewPlayerWindow, StopPutsTheLabelAndTheBarBackToZero) {
  harness.addFiles({media("a100.wav")});
  bar().setPosition(300);
  harness.clickSkin("play");
  ASSERT_TRUE(QTest::qWaitFor([this] { return bar().position() > 310; }, 10000));
  EXPECT_NE(harness.skinText("timecaption"), "00:00:00");
  harness.clickSkin("stop");
  EXPECT_FALSE(harness.player().IsPlaying());
  EXPECT_EQ(bar().position(), 0);
  EXPECT_EQ(harness.player().BarPosition(), 0);
  EXPECT_EQ(harness.skinText("timecaption"), "00:00:00");
  EXPECT_FALSE(harness.window().AudioFileRead().IsOpen());
  // "stop" when nothing plays is refused; "Stop" from the menu ends the playback too.
  harness.clickSkin("play");
  harness.triggerMenuItem("Stop1");
  EXPECT_FALSE(harness.player().IsPlaying());
}

TEST_F(PreviewPlayerWindow, AFileThatPlaysToItsEndStopsByItself) {
  harness.addFiles({media("short3.wav")});
  harness.clickSkin("play");
  ASSERT_TRUE(waitUntilStopped());
  EXPECT_EQ(harness.skinText("timecaption"), "00:00:00");
  EXPECT_EQ(bar().position(), 0);
  EXPECT_FALSE(harness.window().AudioPlayer21().isPlaying());
  const std::vector<float> heard = harness.window().AudioPlayer21().recordedAudio();
  EXPECT_GE(static_cast<int64_t>(heard.size()), 3 * kRate - kRate / 10);
  EXPECT_LE(static_cast<int64_t>(heard.size()), 3 * kRate);
}

TEST_F(PreviewPlayerWindow, AMissingFileLeavesThePlayerIdleAndTheNextPlayWorks) {
  const QString path = harness.mediaPath("gone.wav");
  ASSERT_TRUE(QFile::copy(media("short3.wav"), path));
  harness.addFiles({path});
  ASSERT_TRUE(QFile::remove(path));
  harness.clickSkin("play");
  EXPECT_EQ(harness.platform().errors.size(), 1);
  EXPECT_TRUE(harness.platform().errors.value(0).contains("gone.wav"))
      << harness.platform().errors.value(0).toStdString();
  EXPECT_FALSE(harness.player().IsPlaying());
  EXPECT_FALSE(player().SegmentPlayback());
  EXPECT_FALSE(harness.window().AudioPlayer21().isPlaying());

  ASSERT_TRUE(QFile::copy(media("short3.wav"), path));
  harness.clickSkin("play");
  EXPECT_TRUE(harness.player().IsPlaying());
  EXPECT_EQ(harness.platform().errors.size(), 1);
}

TEST_F(PreviewPlayerWindow, AMissingFileForAPieceRestoresNothingAndStaysIdle) {
  const QString path = harness.mediaPath("gone100.wav");
  ASSERT_TRUE(QFile::copy(media("a100.wav"), path));
  harness.addFiles({path});
  markRange(620, 930);
  harness.clickSegmentRow(0);
  ASSERT_TRUE(QFile::remove(path));
  harness.clickSkin("play");
  EXPECT_EQ(harness.platform().errors.size(), 1);
  EXPECT_FALSE(harness.player().IsPlaying());
  EXPECT_FALSE(player().SegmentPlayback());
  EXPECT_EQ(harness.segmentRows().value(0), "00:01:00 - 00:01:30|00:00:30|Ok");
}

TEST_F(PreviewPlayerWindow, AddingFilesStopsThePlaybackAndClearingDoesNotJamIt) {
  harness.addFiles({media("a100.wav")});
  harness.clickSkin("play");
  ASSERT_TRUE(harness.player().IsPlaying());
  harness.addFiles({media("short3.wav")});
  EXPECT_FALSE(harness.player().IsPlaying());
  EXPECT_FALSE(harness.window().AudioPlayer21().isPlaying());
  EXPECT_EQ(harness.sourceCaptions().size(), 2);

  // The list cleared during a playback: stop still ends it, and play works again.
  harness.clickSkin("play");
  ASSERT_TRUE(harness.player().IsPlaying());
  harness.clickSkin("Clear");
  harness.clickSkin("stop");
  EXPECT_FALSE(harness.player().IsPlaying());
  harness.addFiles({media("short3.wav")});
  harness.clickSkin("play");
  EXPECT_TRUE(harness.player().IsPlaying());
}

TEST_F(PreviewPlayerWindow, ThePlayedRowFollowsItsFileWhenRowsMove) {
  harness.addFiles({media("short3.wav"), media("a100.wav")});
  harness.clickSourceRow(1);
  harness.clickSkin("play");
  ASSERT_TRUE(harness.player().IsPlaying());
  ASSERT_EQ(harness.player().PlaySource(), 1);
  harness.clickSkin("Up");
  ASSERT_EQ(harness.sourceCaptions(), QStringList({"a100.wav", "short3.wav"}));
  EXPECT_EQ(harness.player().PlaySource(), 0);
  // A click on the list while playing comes back to the file played.
  harness.clickSourceRow(1);
  EXPECT_EQ(selectedRow(harness.window().lv()), 0);
  harness.clickSkin("Down");
  EXPECT_EQ(harness.player().PlaySource(), 1);
  EXPECT_EQ(selectedRow(harness.window().lv()), 1);
  EXPECT_TRUE(harness.player().IsPlaying());
}

TEST_F(PreviewPlayerWindow, RemovingTheFilePlayedEndsItsPlayback) {
  harness.addFiles({media("a100.wav"), media("short3.wav")});
  harness.clickSourceRow(0);
  harness.clickSkin("play");
  ASSERT_TRUE(harness.player().IsPlaying());
  harness.clickSkin("Remove");
  EXPECT_EQ(harness.sourceCaptions(), QStringList({"short3.wav"}));
  EXPECT_FALSE(harness.player().IsPlaying()) << "it played a file no longer listed";
  EXPECT_FALSE(harness.window().AudioPlayer21().isPlaying());
  EXPECT_EQ(bar().position(), 0);
  harness.clickSkin("play");
  EXPECT_TRUE(harness.player().IsPlaying());
  EXPECT_EQ(harness.player().PlaySource(), 0);
}

TEST_F(PreviewPlayerWindow, StopDuringAJobEndsThePlaybackAndTheJob) {
  harness.addFiles({media("a100.wav")});
  harness.clickSkin("play");
  ASSERT_TRUE(harness.player().IsPlaying());
  harness.holdJob();
  harness.clickSkin("Stop");
  EXPECT_FALSE(harness.player().IsPlaying());
  EXPECT_FALSE(harness.window().jobRunning());
}

}  // namespace
}  // namespace tarvex
