#include <gtest/gtest.h>
#include <taglib/id3v2header.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <tuple>

#include "app/dialogs/Tfm_set.h"
#include "app/views/SegmentList.h"
#include "components/audio/AudioFile2.h"
#include "components/skin/SkinObject.h"
#include "components/skin/SkinWidget.h"
#include "tests/processing/JobMedia.h"
#include "tests/support/CopiedFrames.h"
#include "tests/support/OutsideTool.h"
#include "tests/support/window/MainWindowHarness.h"

namespace tarvex {
namespace {

using testing::decodeFrames;
using testing::frameAt;
using testing::JobMedia;
using testing::MainWindowHarness;

class SplitWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    media = &JobMedia::get();
    harness.show();
  }

  QString out(const QString& name) const { return harness.outputDir() + name; }
  QStringList outputFiles() const {
    return QDir(harness.outputDir()).entryList(QDir::Files, QDir::Name);
  }
  QStringList statuses() const {
    QStringList result;
    for (const QString& row : harness.segmentRows()) result << row.section('|', 2);
    return result;
  }
  // Replaces the marked ranges of a source; the last one is the pending range.
  void markRanges(int source, const std::vector<std::pair<int, int>>& ranges) {
    SourceRecord& record = harness.window().sources().at(source);
    record.ranges.clear();
    for (const auto& [begin, end] : ranges) {
      record.ranges.push_back({begin, end, RangeState::Confirmed});
    }
    if (!record.ranges.empty()) record.ranges.back().state = RangeState::Pending;
  }
  // Decodes a piece and compares its frames with the planned source frames.
  void expectFrames(const QString& name, int64_t planned) {
    const testing::Decoded decoded = decodeFrames(out(name));
    EXPECT_EQ(decoded.frames, testing::framesAtRateOf(decoded, planned)) << name.toStdString();
    EXPECT_GT(decoded.frames, 0) << name.toStdString();
  }
  int convertpbWidth() { return harness.window().Skin1().findObject("convertpb")->rect().width(); }

  const JobMedia* media = nullptr;
  MainWindowHarness harness;
};

TEST_F(SplitWindow, TheHundredTwentyFiveSecondExampleCutsThreeTaggedPieces) {
  harness.mainSettings().splitFunction = SplitFunction::EveryNSeconds;
  harness.mainSettings().pieceSeconds = 60;
  harness.addFiles({media->song125});
  ASSERT_EQ(harness.sourceCaptions(), QStringList{"Morning Song"});
  // The year is not taken from the source; the tag editor sets it.
  harness.window().sources().at(0).tags.year = "2019";
  harness.clickSkin("Split");

  const int64_t samples = int64_t{125} * 22050;
  ASSERT_EQ(outputFiles(),
            QStringList({"Morning Song_1.mp3", "Morning Song_2.mp3", "Morning Song_3.mp3"}));
  const int64_t expected[] = {frameAt(60, samples, 125000),
                              frameAt(120, samples, 125000) - frameAt(60, samples, 125000),
                              samples - frameAt(120, samples, 125000)};
  for (int piece = 0; piece < 3; ++piece) {
    const QString path = out(QStringLiteral("Morning Song_%1.mp3").arg(piece + 1));
    const testing::Decoded decoded = decodeFrames(path);
    EXPECT_EQ(decoded.frames, testing::framesAtRateOf(decoded, expected[piece]))
        << "piece " << piece + 1;
    EXPECT_EQ(decoded.sampleRate, 44100) << "the default profile's rate";

    // The source's tags, read back by an independent reader.
    TagLib::MPEG::File file(QFile::encodeName(path).constData());
    ASSERT_TRUE(file.isValid());
    ASSERT_TRUE(file.hasID3v2Tag()) << "piece " << piece + 1;
    TagLib::ID3v2::Tag* tag = file.ID3v2Tag();
    EXPECT_EQ(tag->header()->majorVersion(), 3u);
    const auto text = [](const TagLib::String& s) {
      return QString::fromStdString(s.to8Bit(true));
    };
    EXPECT_EQ(text(tag->title()), "Morning Song");
    EXPECT_EQ(text(tag->artist()), "Quiet Band");
    EXPECT_EQ(text(tag->album()), "First Light");
    EXPECT_EQ(tag->year(), 2019u);
    EXPECT_EQ(text(tag->genre()), "Ambient");
    EXPECT_EQ(tag->track(), static_cast<unsigned>(piece + 1));
    ASSERT_FALSE(tag->frameListMap()["TRCK"].isEmpty());
    EXPECT_EQ(text(tag->frameListMap()["TRCK"].front()->toString()),
              QStringLiteral("%1/3").arg(piece + 1));
  }
  EXPECT_EQ(statuses(), QStringList({"Finish", "Finish", "Finish"}));
  EXPECT_FALSE(harness.window().jobRunning());
  EXPECT_EQ(harness.skinText("pbpos"), "");
  EXPECT_LE(convertpbWidth(), 1);
  EXPECT_EQ(harness.platform().openedFolders, QStringList{harness.outputDir()});
  EXPECT_TRUE(harness.platform().errors.isEmpty());
}

TEST_F(SplitWindow, AnOutputFolderNoProgramCanShowIsNamedInAMessageAndThePiecesStay) {
  harness.platform().launchesSucceed = false;
  harness.mainSettings().splitFunction = SplitFunction::EveryNSeconds;
  harness.mainSettings().pieceSeconds = 4;
  harness.addFiles({media->b7});
  harness.clickSkin("Split");
  EXPECT_EQ(outputFiles(), QStringList({"b7_1.mp3", "b7_2.mp3"}));
  EXPECT_EQ(statuses(), QStringList({"Finish", "Finish"}));
  EXPECT_EQ(harness.platform().openedFolders, QStringList{harness.outputDir()});
  ASSERT_EQ(harness.platform().errors.size(), 1);
  EXPECT_TRUE(harness.platform().errors[0].contains(harness.outputDir()))
      << harness.platform().errors[0].toStdString();
  EXPECT_FALSE(harness.window().jobRunning());
}

TEST_F(SplitWindow, TheMenusSplitOpensNoFolderAndKeepsTheLastFractionOfASecond) {
  harness.mainSettings().splitFunction = SplitFunction::EveryNSeconds;
  harness.mainSettings().pieceSeconds = 2;
  harness.addFiles({media->tail5});
  harness.triggerMenuItem("Start1");
  const int64_t samples = 121275;  // 5.5 s
  ASSERT_EQ(outputFiles(), QStringList({"tail5_1.mp3", "tail5_2.mp3", "tail5_3.mp3"}));
  expectFrames("tail5_1.mp3", 2 * 22050);
  expectFrames("tail5_2.mp3", 2 * 22050);
  expectFrames("tail5_3.mp3", samples - 4 * 22050);
  // The last row shows what its piece holds: 1.5 s, to the source's end.
  EXPECT_EQ(harness.segmentRows().value(2), "00:00:04 - 00:00:06|00:00:02|Finish");
  EXPECT_EQ(harness.skinText("tataltime"), "00:00:06");
  EXPECT_TRUE(harness.platform().openedFolders.isEmpty());
  // Another format: the finished statuses belonged to the files just written.
  harness.window().cb_format().setCurrentIndex(2);
  EXPECT_EQ(statuses(), QStringList({"Unconvert", "Unconvert", "Unconvert"}));
}

TEST_F(SplitWindow, ACountSplitCoversTheWholeSource) {
  harness.mainSettings().splitFunction = SplitFunction::EqualPieces;
  harness.mainSettings().pieceCount = 5;
  harness.addFiles({media->a12});
  harness.clickSkin("Split");
  const int64_t samples = int64_t{12} * 22050;
  // 12 s in 5: 0-2, 2-5, 5-7, 7-10, 10-12.
  const int bounds[] = {0, 2, 5, 7, 10, 12};
  ASSERT_EQ(outputFiles().size(), 5);
  int64_t total = 0;
  for (int piece = 0; piece < 5; ++piece) {
    const int64_t planned =
        frameAt(bounds[piece + 1], samples, 12000) - frameAt(bounds[piece], samples, 12000);
    expectFrames(QStringLiteral("a12_%1.mp3").arg(piece + 1), planned);
    total += planned;
  }
  EXPECT_EQ(total, samples) << "the pieces cover the source";
}

TEST_F(SplitWindow, CustomRangesAreCutInListOrderOverlapsIncluded) {
  harness.mainSettings().splitFunction = SplitFunction::Custom;
  harness.addFiles({media->a12});
  markRanges(0, {{6, 9}, {2, 7}, {8, 12}, {0, 12}});
  harness.clickSourceRow(0);
  harness.clickSkin("Split");
  ASSERT_EQ(outputFiles(), QStringList({"a12_1.mp3", "a12_2.mp3", "a12_3.mp3"}));
  expectFrames("a12_1.mp3", 3 * 22050);
  expectFrames("a12_2.mp3", 5 * 22050);
  expectFrames("a12_3.mp3", 4 * 22050);
  EXPECT_EQ(statuses(), QStringList({"Finish", "Finish", "Finish"}));
  EXPECT_EQ(harness.window().sources().at(0).ranges.size(), 4u) << "the pending range stays";
}

TEST_F(SplitWindow, ACustomSourceWithOnlyItsPendingRangeIsCutWhole) {
  harness.mainSettings().splitFunction = SplitFunction::Custom;
  harness.addFiles({media->b7});
  harness.clickSkin("Split");
  ASSERT_EQ(outputFiles(), QStringList{"b7_1.mp3"});
  expectFrames("b7_1.mp3", 7 * 22050);
  EXPECT_EQ(harness.window().sources().at(0).ranges.size(), 1u);
}

TEST_F(SplitWindow, UnificationSkipsRangesPastAShortSourcesEnd) {
  harness.mainSettings().splitFunction = SplitFunction::Unification;
  harness.addFiles({media->a12, media->b7});
  markRanges(0, {{1, 4}, {8, 11}, {5, 9}, {0, 12}});
  harness.clickSourceRow(0);
  harness.clickSkin("Split");
  ASSERT_EQ(outputFiles(),
            QStringList({"a12_1.mp3", "a12_2.mp3", "a12_3.mp3", "b7_1.mp3", "b7_2.mp3"}));
  expectFrames("a12_1.mp3", 3 * 22050);
  expectFrames("a12_2.mp3", 3 * 22050);
  expectFrames("a12_3.mp3", 4 * 22050);
  expectFrames("b7_1.mp3", 3 * 22050);
  expectFrames("b7_2.mp3", 2 * 22050);
  EXPECT_EQ(statuses(), QStringList({"Finish", "OK", "Finish"})) << "8-11 is past b7's end";
  EXPECT_EQ(harness.window().sources().at(0).ranges.size(), 4u);
}

TEST_F(SplitWindow, NamesContinueAfterExistingPiecesAndLoseForbiddenCharacters) {
  harness.mainSettings().splitFunction = SplitFunction::EveryNSeconds;
  harness.mainSettings().pieceSeconds = 4;
  harness.addFiles({media->b7, media->a12});
  harness.window().sources().at(0).caption = "live.at.home";
  harness.window().sources().at(1).caption = "Act: One";
  for (const QString name : {"live_1.mp3", "live_2.mp3"}) {
    QFile existing(out(name));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("keep me");
  }
  harness.clickSkin("Split");
  EXPECT_EQ(outputFiles(), QStringList({"Act One_1.mp3", "Act One_2.mp3", "Act One_3.mp3",
                                        "live_1.mp3", "live_2.mp3", "live_3.mp3", "live_4.mp3"}));
  QFile kept(out("live_2.mp3"));
  ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
  EXPECT_EQ(kept.readAll(), "keep me");
  expectFrames("live_4.mp3", 3 * 22050);
}

TEST_F(SplitWindow, StopKeepsThePiecesItCutShortAndMarksThemStopped) {
  harness.mainSettings().splitFunction = SplitFunction::EveryNSeconds;
  // Pieces a minute long, so Stop lands inside the followed piece even though
  // the progress shown trails the workers.
  harness.mainSettings().pieceSeconds = 60;
  harness.addFiles({media->song125});
  QTimer watcher;
  watcher.setInterval(0);
  QObject::connect(&watcher, &QTimer::timeout, [&] {
    if (statuses().value(0) == "Converting" && harness.skinText("pbpos").chopped(1).toInt() >= 20) {
      watcher.stop();
      harness.clickSkinNoWait("Stop");
    }
  });
  watcher.start();
  harness.clickSkin("Split");
  const QStringList shown = statuses();
  ASSERT_EQ(shown.size(), 3);
  EXPECT_EQ(shown[0], "Stopped") << "the piece the window followed was cut short";
  EXPECT_FALSE(shown.contains("Converting"));
  for (int row = 0; row < 3; ++row) {
    const QString name = QStringLiteral("Morning Song_%1.mp3").arg(row + 1);
    if (shown[row] == "Unconvert") {
      EXPECT_FALSE(QFile::exists(out(name))) << "a piece never begun leaves no file";
      continue;
    }
    ASSERT_EQ(shown[row], "Stopped") << row;
    // A piece cut short is kept, and is shorter than planned.
    const testing::Decoded kept = decodeFrames(out(name));
    EXPECT_GT(kept.frames, 0) << row;
    EXPECT_LT(kept.frames, testing::framesAtRateOf(kept, 60 * 22050)) << row;
  }
  EXPECT_FALSE(harness.window().jobRunning());
  EXPECT_EQ(harness.skinText("pbpos"), "");
  EXPECT_LE(convertpbWidth(), 1);
}

TEST_F(SplitWindow, FadesSilenceTheEdgesAndLeaveTheMiddle) {
  harness.mainSettings().splitFunction = SplitFunction::EveryNSeconds;
  harness.mainSettings().pieceSeconds = 4;
  harness.mainSettings().fadeIn = true;
  harness.mainSettings().fadeOut = true;
  harness.mainSettings().fadeInSeconds = 1;
  harness.mainSettings().fadeOutSeconds = 1;
  harness.addFiles({media->a12});
  harness.clickSkin("Split");
  const QString piece = out("a12_1.mp3");
  expectFrames("a12_1.mp3", 4 * 22050);
  const double middle = testing::rmsOf(piece, 1.9, 0.2);
  const double source = testing::rmsOf(media->a12, 1.9, 0.2);
  EXPECT_LT(testing::rmsOf(piece, 0, 0.01), 0.03);
  EXPECT_LT(testing::rmsOf(piece, 3.99, 0.01), 0.03);
  EXPECT_NEAR(middle, source, source * 0.05);
  EXPECT_GT(middle, 0.2);
}

TEST_F(SplitWindow, AFadeInLongerThanThePieceNeverRunsPastItsEnd) {
  harness.mainSettings().splitFunction = SplitFunction::EveryNSeconds;
  harness.mainSettings().pieceSeconds = 2;
  harness.mainSettings().fadeIn = true;
  harness.mainSettings().fadeInSeconds = 5;
  harness.addFiles({media->b7});
  harness.clickSkin("Split");
  ASSERT_EQ(outputFiles().size(), 4);
  expectFrames("b7_1.mp3", 2 * 22050);
  expectFrames("b7_4.mp3", 1 * 22050);
}

TEST_F(SplitWindow, AnUnwritableOutputFolderFallsBackOnceThenFailsCleanly) {
  harness.mainSettings().splitFunction = SplitFunction::EveryNSeconds;
  harness.mainSettings().pieceSeconds = 4;
  harness.addFiles({media->b7});
  harness.window().lv().topLevelItem(0)->setText(0, "Caption Name");
  // A folder below a regular file can never be created, even by root.
  const QString blocker = harness.folder().path("blocker");
  QFile file(blocker);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  harness.mainSettings().outputDir = blocker + "/sub/";
  harness.clickSkin("Split");

  ASSERT_EQ(harness.platform().errors.size(), 1);
  const QString message = harness.platform().errors[0];
  EXPECT_TRUE(message.contains("b7.mp3")) << message.toStdString();
  EXPECT_FALSE(message.contains("Caption Name")) << "the fallback name was tried second";
  EXPECT_FALSE(harness.window().jobRunning());
  // Both pieces may have been under way; the one that failed first is marked.
  EXPECT_EQ(statuses().count("Error"), 1);
  EXPECT_TRUE(statuses().contains("Unconvert"));
  EXPECT_EQ(harness.skinText("pbpos"), "");
  EXPECT_TRUE(harness.platform().openedFolders.isEmpty());
  // The window is usable again at once: the next Split runs.
  harness.mainSettings().outputDir = harness.outputDir();
  harness.clickSkin("Split");
  EXPECT_EQ(outputFiles().size(), 2);
  EXPECT_EQ(harness.platform().errors.size(), 1);
}

TEST_F(SplitWindow, ASourceThatVanishedEndsTheJobWithOneMessageAndKeepsEarlierPieces) {
  harness.mainSettings().splitFunction = SplitFunction::EveryNSeconds;
  harness.mainSettings().pieceSeconds = 4;
  const QString doomed = harness.mediaPath("doomed.mp3");
  ASSERT_TRUE(QFile::copy(media->b7, doomed));
  harness.addFiles({media->a12, doomed, media->b7});
  ASSERT_TRUE(QFile::remove(doomed));
  harness.clickSkin("Split");

  ASSERT_EQ(harness.platform().errors.size(), 1);
  EXPECT_TRUE(harness.platform().errors[0].contains("doomed.mp3"));
  // Pieces still under way when the error struck are removed; what is kept is whole.
  for (const QString& name : outputFiles()) {
    EXPECT_TRUE(name.startsWith("a12_")) << name.toStdString();
    expectFrames(name, 4 * 22050);
  }
  EXPECT_TRUE(outputFiles().contains("a12_1.mp3"));
  ASSERT_EQ(statuses().size(), 2) << "the window shows the source that failed";
  EXPECT_EQ(statuses().count("Error"), 1);
  EXPECT_FALSE(harness.window().jobRunning());
  EXPECT_FALSE(harness.window().AudioFileRead().IsOpen());
  EXPECT_FALSE(harness.window().AudioFile2write().IsOpen());
  EXPECT_EQ(harness.skinText("pbpos"), "");
  EXPECT_TRUE(harness.platform().openedFolders.isEmpty());
}

TEST_F(SplitWindow, ASecondSplitDuringAJobIsIgnored) {
  harness.mainSettings().splitFunction = SplitFunction::EveryNSeconds;
  harness.mainSettings().pieceSeconds = 4;
  harness.addFiles({media->b7});
  int nestedClicks = 0;
  QTimer watcher;
  watcher.setInterval(0);
  QObject::connect(&watcher, &QTimer::timeout, [&] {
    if (harness.window().jobRunning() && nestedClicks == 0) {
      ++nestedClicks;
      harness.clickSkinNoWait("Split");
      harness.clickSkinNoWait("Join");
    }
  });
  watcher.start();
  harness.clickSkin("Split");
  EXPECT_EQ(nestedClicks, 1);
  EXPECT_EQ(outputFiles(), QStringList({"b7_1.mp3", "b7_2.mp3"}));
  EXPECT_EQ(harness.platform().saveDialogs, 0);
}

TEST_F(SplitWindow, SettingsOpenedDuringAJobNeitherPauseNorChangeIt) {
  harness.mainSettings().splitFunction = SplitFunction::EveryNSeconds;
  harness.mainSettings().pieceSeconds = 4;
  harness.addFiles({media->b7});
  harness.clickSkinNoWait("Split");
  ASSERT_TRUE(harness.window().jobRunning());
  bool finishedWhileOpen = false;
  harness.whenDialogOpens([&] {
    harness.mainSettings().pieceSeconds = 1;  // as the dialog's OK stores it
    finishedWhileOpen = QTest::qWaitFor([&] { return !harness.window().busy(); }, 120000);
    harness.window().fm_set().reject();
  });
  harness.clickSkin("Settings");
  EXPECT_TRUE(finishedWhileOpen) << "the job ran on while the dialog was open";
  EXPECT_EQ(outputFiles(), QStringList({"b7_1.mp3", "b7_2.mp3"}))
      << "the pieces planned when Split was pressed";
  EXPECT_FALSE(harness.window().jobRunning());
}

// Each row of the format list writes its own format, as FFmpeg reads it.
TEST_F(SplitWindow, EveryFormatRowWritesThatFormat) {
  harness.mainSettings().splitFunction = SplitFunction::EqualPieces;
  harness.mainSettings().pieceCount = 1;
  harness.addFiles({media->mono4});
  for (const auto& [row, name, codec] :
       {std::tuple{1, "mono4_1.wav", "pcm_s16le"}, std::tuple{2, "mono4_1.wma", "wmav2"},
        std::tuple{3, "mono4_1.ogg", "vorbis"}}) {
    harness.window().cb_format().setCurrentIndex(row);
    harness.clickSkin("Split");
    ASSERT_TRUE(QFile::exists(out(name))) << outputFiles().join(' ').toStdString();
    const QString probed = testing::runOutsideTool(
        "ffprobe",
        {"-v", "error", "-show_entries", "stream=codec_name", "-of", "csv=p=0", out(name)});
    EXPECT_EQ(probed.trimmed(), codec) << name;
  }
}

// The format list's last row reaches the executor: pieces of an MP3 source
// are its own frames; with fades on, only the faded frames are encoded and
// there is nothing to tell.
TEST_F(SplitWindow, NoReEncodeCopiesFramesAlsoWithFades) {
  QComboBox& format = harness.window().cb_format();
  format.setCurrentIndex(4);
  ASSERT_EQ(format.currentText(), "MP3 (no re-encode)");
  harness.mainSettings().splitFunction = SplitFunction::EveryNSeconds;
  harness.mainSettings().pieceSeconds = 5;
  harness.addFiles({media->a12});
  harness.clickSkin("Split");
  ASSERT_EQ(outputFiles(), QStringList({"a12_1.mp3", "a12_2.mp3", "a12_3.mp3"}));
  EXPECT_TRUE(harness.platform().messages().isEmpty())
      << harness.platform().messages().join('\n').toStdString();
  int64_t frames = 0;
  for (const QString& name : outputFiles()) {
    EXPECT_TRUE(testing::sharesFrameBytes(media->a12, out(name))) << name.toStdString();
    frames += decodeFrames(out(name)).frames;
  }
  EXPECT_EQ(frames, int64_t{12} * 22050);
  EXPECT_EQ(statuses(), QStringList({"Finish", "Finish", "Finish"}));

  harness.mainSettings().fadeIn = true;
  harness.clickSkin("Split");
  EXPECT_EQ(outputFiles().size(), 6);
  EXPECT_TRUE(harness.platform().informations.isEmpty())
      << harness.platform().informations.join('\n').toStdString();
  EXPECT_TRUE(harness.platform().errors.isEmpty());
}

}  // namespace
}  // namespace tarvex
