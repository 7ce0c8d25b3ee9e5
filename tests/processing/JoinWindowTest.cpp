#include <gtest/gtest.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include "app/JoinOutputChoice.h"
#include "app/views/SourceList.h"
#include "tests/processing/JobMedia.h"
#include "tests/support/CopiedFrames.h"
#include "tests/support/window/MainWindowHarness.h"

namespace tarvex {
namespace {

using testing::decodeFrames;
using testing::JobMedia;
using testing::MainWindowHarness;

class JoinWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    media = &JobMedia::get();
    harness.show();
  }
  QString out(const QString& name) const { return harness.outputDir() + name; }
  void answerSave(const QString& path) {
    harness.platform().saveAnswers.push_back(PlatformServices::SaveChoice{path, 1});
  }

  const JobMedia* media = nullptr;
  MainWindowHarness harness;
};

TEST_F(JoinWindow, StereoAndMonoSourcesJoinInTheFirstSourcesFormat) {
  harness.mainSettings().splitFunction = SplitFunction::EveryNSeconds;
  harness.addFiles({media->stereo6, media->mono4});
  answerSave(out("mix"));
  harness.clickSkin("Join");

  EXPECT_EQ(harness.platform().saveDialogFilters,
            QStringList({"MP3 Files(*.mp3)", "WAV Files(*.wav)", "WMA Files(*.wma)",
                         "OGG Files(*.ogg)", "MP3 Files, no re-encode(*.mp3)"}));
  EXPECT_EQ(harness.platform().lastDialogDirectory, harness.outputDir());
  ASSERT_TRUE(QFile::exists(out("mix.mp3")));
  const testing::Decoded joined = decodeFrames(out("mix.mp3"));
  EXPECT_EQ(joined.sampleRate, 44100);
  EXPECT_EQ(joined.channels, 2);
  // 6 s at 44100 Hz, then 4 s resampled from 22050 Hz.
  EXPECT_NEAR(static_cast<double>(joined.frames), 10.0 * 44100, 64.0);
  // The join's only tag: one chapter per file and their table of contents.
  TagLib::MPEG::File file(QFile::encodeName(out("mix.mp3")).constData());
  ASSERT_TRUE(file.hasID3v2Tag());
  const TagLib::ID3v2::FrameListMap& frames = file.ID3v2Tag()->frameListMap();
  EXPECT_EQ(frames["CHAP"].size(), 2u);
  EXPECT_EQ(frames["CTOC"].size(), 1u);
  size_t others = 0;  // TagLib's map may hold ids it looked up with no frame
  for (const auto& [id, list] : frames) {
    if (id != "CHAP" && id != "CTOC") others += list.size();
  }
  EXPECT_EQ(others, 0u) << "no other frame";
  EXPECT_EQ(harness.platform().openedFolders, QStringList{harness.outputDir()});
  EXPECT_FALSE(harness.window().jobRunning());
  EXPECT_EQ(harness.skinText("pbpos"), "");
  EXPECT_EQ(harness.segmentRows(), QStringList{"00:00:00 - 00:00:04|00:00:04|Finish"});
  EXPECT_EQ(harness.skinText("nm"), media->mono4) << "the path line follows the file joined";
}

TEST_F(JoinWindow, CustomRangesOfEverySourceJoinInOrderWithATypedExtensionKept) {
  harness.mainSettings().splitFunction = SplitFunction::Custom;
  harness.addFiles({media->a12, media->b7});
  SourceRecord& first = harness.window().sources().at(0);
  first.ranges = {
      {2, 5, RangeState::Confirmed}, {8, 10, RangeState::Confirmed}, {0, 12, RangeState::Pending}};
  harness.clickSourceRow(0);
  answerSave(out("Ranges.MP3"));
  harness.clickSkin("Join");
  ASSERT_TRUE(QFile::exists(out("Ranges.MP3")));
  EXPECT_FALSE(QFile::exists(out("Ranges.MP3.mp3")));
  // 3 s + 2 s of the first source, then the whole second (its lone pending range).
  const testing::Decoded joined = decodeFrames(out("Ranges.MP3"));
  EXPECT_EQ(joined.frames, testing::framesAtRateOf(joined, (3 + 2 + 7) * 22050));
}

TEST_F(JoinWindow, UnificationTakesWhatEachSourceHasOfTheSharedRanges) {
  harness.mainSettings().splitFunction = SplitFunction::Unification;
  harness.addFiles({media->a12, media->b7});
  SourceRecord& first = harness.window().sources().at(0);
  first.ranges = {
      {5, 9, RangeState::Confirmed}, {9, 11, RangeState::Confirmed}, {0, 12, RangeState::Pending}};
  harness.clickSourceRow(0);
  answerSave(out("shared"));
  harness.clickSkin("Join");
  // a12: 4 s + 2 s; b7: 5-7 (2 s), and 9-11 is past its end.
  const testing::Decoded joined = decodeFrames(out("shared.mp3"));
  EXPECT_EQ(joined.frames, testing::framesAtRateOf(joined, (4 + 2 + 2) * 22050));
}

TEST_F(JoinWindow, ARangeFromASourceAtAnotherRateEndsOnItsOwnLastFrame) {
  // The output takes the first source's 44100 Hz stereo; the second source's
  // 1-3 s range is resampled from 22050 Hz mono and must keep its tail.
  harness.mainSettings().splitFunction = SplitFunction::Custom;
  harness.addFiles({media->stereo6, media->mono4});
  SourceRecord& second = harness.window().sources().at(1);
  second.ranges = {{1, 3, RangeState::Confirmed}, {0, 4, RangeState::Pending}};
  harness.clickSourceRow(1);
  answerSave(out("custom"));
  harness.clickSkin("Join");
  EXPECT_EQ(decodeFrames(out("custom.mp3")).frames, (6 + 2) * 44100);

  // Unification: the shared 1-3 s range from both sources.
  harness.mainSettings().splitFunction = SplitFunction::Unification;
  SourceRecord& first = harness.window().sources().at(0);
  first.ranges = {{1, 3, RangeState::Confirmed}, {0, 6, RangeState::Pending}};
  harness.clickSourceRow(0);
  answerSave(out("shared"));
  harness.clickSkin("Join");
  EXPECT_EQ(decodeFrames(out("shared.mp3")).frames, (2 + 2) * 44100);
}

TEST_F(JoinWindow, FadesActOnceAtTheStartAndTheEndOfTheWholeOutput) {
  harness.mainSettings().splitFunction = SplitFunction::EveryNSeconds;
  harness.mainSettings().fadeIn = true;
  harness.mainSettings().fadeOut = true;
  harness.mainSettings().fadeInSeconds = 1;
  harness.mainSettings().fadeOutSeconds = 1;
  harness.addFiles({media->a12, media->b7});
  answerSave(out("faded"));
  harness.clickSkin("Join");
  const QString joined = out("faded.mp3");
  const testing::Decoded decoded = decodeFrames(joined);
  ASSERT_EQ(decoded.frames, testing::framesAtRateOf(decoded, 19 * 22050));
  const double source = testing::rmsOf(media->a12, 6, 0.2);
  EXPECT_LT(testing::rmsOf(joined, 0, 0.01), 0.03);
  EXPECT_LT(testing::rmsOf(joined, 18.99, 0.01), 0.03);
  // Either side of the boundary between the sources is not faded.
  EXPECT_NEAR(testing::rmsOf(joined, 11.6, 0.3), source, source * 0.05);
  EXPECT_NEAR(testing::rmsOf(joined, 12.1, 0.3), source, source * 0.05);
}

TEST_F(JoinWindow, ASourceIsNeverTheOutputNotEvenThroughALink) {
  harness.mainSettings().splitFunction = SplitFunction::EveryNSeconds;
  harness.addFiles({media->a12, media->b7});
  const QByteArray before = [&] {
    QFile f(media->b7);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }();
  answerSave(media->b7);
  harness.clickSkin("Join");
  ASSERT_TRUE(QFile::link(media->b7, out("link.mp3")));
  answerSave(out("link.mp3"));
  harness.clickSkin("Join");

  EXPECT_EQ(harness.platform().informations,
            QStringList({kJoinOverSourceMessage, kJoinOverSourceMessage}));
  QFile after(media->b7);
  ASSERT_TRUE(after.open(QIODevice::ReadOnly));
  EXPECT_EQ(after.readAll(), before);
  EXPECT_TRUE(harness.platform().openedFolders.isEmpty());
  EXPECT_FALSE(harness.window().jobRunning());
}

TEST_F(JoinWindow, AnExistingFileNamedOnlyByTheAddedExtensionIsNotReplaced) {
  harness.mainSettings().splitFunction = SplitFunction::EveryNSeconds;
  harness.addFiles({media->b7});
  QFile existing(out("mix.mp3"));
  ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
  existing.write("mine");
  existing.close();
  answerSave(out("mix"));
  harness.clickSkin("Join");
  ASSERT_EQ(harness.platform().informations.size(), 1);
  EXPECT_TRUE(harness.platform().informations[0].contains("mix.mp3"));
  ASSERT_TRUE(existing.open(QIODevice::ReadOnly));
  EXPECT_EQ(existing.readAll(), "mine");
  // Typed in full, the dialog has asked: the file is replaced.
  answerSave(out("mix.mp3"));
  harness.clickSkin("Join");
  const testing::Decoded joined = decodeFrames(out("mix.mp3"));
  EXPECT_EQ(joined.frames, testing::framesAtRateOf(joined, 7 * 22050));
}

TEST_F(JoinWindow, ACancelledDialogOrAnEmptyListRunsNothing) {
  harness.clickSkin("Join");
  EXPECT_EQ(harness.platform().saveDialogs, 0) << "no sources: no dialog";
  harness.addFiles({media->b7});
  harness.clickSkin("Join");  // no answer queued: cancelled
  EXPECT_EQ(harness.platform().saveDialogs, 1);
  EXPECT_TRUE(harness.platform().openedFolders.isEmpty());
  EXPECT_TRUE(QDir(harness.outputDir()).entryList(QDir::Files).isEmpty());
}

TEST_F(JoinWindow, StopDuringTheSecondSourceKeepsTheOutputAndOpensTheFolder) {
  harness.mainSettings().splitFunction = SplitFunction::EveryNSeconds;
  harness.addFiles({media->b7, media->c30});
  QTimer watcher;
  watcher.setInterval(0);
  QObject::connect(&watcher, &QTimer::timeout, [&] {
    if (harness.window().sourceList().currentRow() == 1 && harness.window().jobRunning() &&
        harness.skinText("pbpos").chopped(1).toInt() >= 40) {
      watcher.stop();
      harness.triggerMenuItemNoWait("Stop1");
    }
  });
  watcher.start();
  answerSave(out("part"));
  harness.clickSkin("Join");
  const testing::Decoded joined = decodeFrames(out("part.mp3"));
  EXPECT_GT(joined.frames, testing::framesAtRateOf(joined, 7 * 22050));
  EXPECT_LT(joined.frames, testing::framesAtRateOf(joined, 37 * 22050));
  EXPECT_EQ(harness.platform().openedFolders, QStringList{harness.outputDir()});
  EXPECT_FALSE(harness.window().jobRunning());
}

TEST_F(JoinWindow, AnOutputFolderNoProgramCanShowIsNamedInAMessageAndTheFileStays) {
  harness.platform().launchesSucceed = false;
  harness.mainSettings().splitFunction = SplitFunction::EveryNSeconds;
  harness.addFiles({media->b7});
  answerSave(out("shown"));
  harness.clickSkin("Join");
  EXPECT_TRUE(QFile::exists(out("shown.mp3")));
  ASSERT_EQ(harness.platform().errors.size(), 1);
  EXPECT_TRUE(harness.platform().errors[0].contains(harness.outputDir()))
      << harness.platform().errors[0].toStdString();
  EXPECT_FALSE(harness.window().jobRunning());
}

TEST_F(JoinWindow, AnOutputThatCannotBeCreatedEndsTheJobCleanly) {
  harness.mainSettings().splitFunction = SplitFunction::EveryNSeconds;
  harness.addFiles({media->b7});
  const QString blocker = harness.folder().path("blocker");
  QFile file(blocker);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  answerSave(blocker + "/mix");
  harness.clickSkin("Join");
  EXPECT_EQ(harness.platform().errors.size(), 1);
  EXPECT_FALSE(harness.window().jobRunning());
  EXPECT_TRUE(harness.platform().openedFolders.isEmpty());
  EXPECT_EQ(harness.skinText("pbpos"), "");
}

// The save dialog's filter sets the format; the last one copies the frames
// of whole MP3 files of one rate and channel count.
TEST_F(JoinWindow, TheNoReEncodeFilterSetsTheFormatAndCopiesTheFiles) {
  harness.mainSettings().splitFunction = SplitFunction::EqualPieces;
  harness.addFiles({media->a12, media->b7});
  harness.platform().saveAnswers.push_back(PlatformServices::SaveChoice{out("copied"), 5});
  harness.clickSkin("Join");
  EXPECT_EQ(harness.window().cb_format().currentIndex(), 4);
  ASSERT_TRUE(QFile::exists(out("copied.mp3")));
  EXPECT_TRUE(testing::sharesFrameBytes(out("copied.mp3"), media->a12));
  EXPECT_TRUE(testing::sharesFrameBytes(out("copied.mp3"), media->b7));
  EXPECT_TRUE(harness.platform().messages().isEmpty())
      << harness.platform().messages().join('\n').toStdString();
  // Both files whole, the second crossfaded with the first over less than a
  // frame (576 samples at 22.05 kHz): no gap.
  const int64_t joined = decodeFrames(out("copied.mp3")).frames;
  EXPECT_GT(joined, int64_t{19} * 22050 - 576);
  EXPECT_LE(joined, int64_t{19} * 22050);
}

}  // namespace
}  // namespace tarvex
