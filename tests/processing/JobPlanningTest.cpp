#include <gtest/gtest.h>

#include <QFile>

#include "processing/JobPlanning.h"
#include "sources/cue/CueMarks.h"
#include "sources/cue/CueSheetReader.h"
#include "sources/cue/CueSheetWriter.h"
#include "tests/support/TempFolder.h"

namespace tarvex {
namespace {

using testing::TempFolder;

// A probed source: 22050 frames a second, so seconds map to frames exactly.
SourceRecord source(const QString& caption, int seconds) {
  SourceRecord record;
  record.path = QStringLiteral("/music/") + caption;
  record.caption = caption;
  record.sampleRate = 22050;
  record.channels = 1;
  record.frames = int64_t{seconds} * 22050 + 2205;  // a tenth of a second past the whole ones
  record.durationMs = seconds * 1000 + 100;
  record.lengthSeconds = seconds;
  record.resetRanges();
  return record;
}

void mark(SourceRecord& record, std::vector<std::pair<int, int>> confirmed) {
  record.ranges.clear();
  for (const auto& [begin, end] : confirmed) {
    record.ranges.push_back({begin, end, RangeState::Confirmed});
  }
  record.ranges.push_back({0, record.lengthSeconds, RangeState::Pending});
}

JobSettings settingsFor(SplitFunction function, const QString& outputDir) {
  JobSettings settings;
  settings.function = function;
  settings.outputDir = outputDir;
  settings.pieceSeconds = 60;
  settings.pieceCount = 3;
  return settings;
}

class JobPlanningTest : public ::testing::Test {
 protected:
  QString dir() const { return folder.path() + QLatin1Char('/'); }
  TempFolder folder;
  EncoderProfile mp3;
};

TEST_F(JobPlanningTest, PiecesByTimeCoverTheSourceToItsLastFrame) {
  const std::vector<SourceRecord> sources{source("song.mp3", 125)};
  const SplitPlan plan = planSplit(sources, settingsFor(SplitFunction::EveryNSeconds, dir()), mp3);
  ASSERT_EQ(plan.pieces.size(), 3u);
  EXPECT_EQ(plan.pieces[0].firstFrame, 0);
  EXPECT_EQ(plan.pieces[1].firstFrame, plan.pieces[0].endFrame);
  EXPECT_EQ(plan.pieces[2].endFrame, sources[0].frames) << "the fraction past 125 s is kept";
  EXPECT_EQ(plan.pieces[2].row, 2);
  EXPECT_EQ(plan.pieces[0].outputPath, dir() + "song_1.mp3");
  EXPECT_EQ(plan.pieces[2].outputPath, dir() + "song_3.mp3");
  EXPECT_EQ(plan.pieces[0].sourcePath, "/music/song.mp3");
  EXPECT_FALSE(plan.pieces[0].endsWithinShortTail);
  EXPECT_EQ(plan.outputFolder, dir());
}

TEST_F(JobPlanningTest, NamesAreUniqueWithinThePlanAndPassOverFilesOnDisk) {
  QFile taken(dir() + "live_2.mp3");
  ASSERT_TRUE(taken.open(QIODevice::WriteOnly));
  taken.close();
  // Two sources with one caption stem: their pieces never share a name.
  const std::vector<SourceRecord> sources{source("live.a.mp3", 90), source("live.b.mp3", 30)};
  const SplitPlan plan = planSplit(sources, settingsFor(SplitFunction::EveryNSeconds, dir()), mp3);
  ASSERT_EQ(plan.pieces.size(), 3u);
  EXPECT_EQ(plan.pieces[0].outputPath, dir() + "live_1.mp3");
  EXPECT_EQ(plan.pieces[1].outputPath, dir() + "live_3.mp3");
  EXPECT_EQ(plan.pieces[2].outputPath, dir() + "live_4.mp3");
  EXPECT_EQ(plan.pieces[2].source, 1);
  EXPECT_EQ(plan.pieces[2].nameStem, "live");
  EXPECT_EQ(plan.pieces[2].fallbackPath, dir() + "live.b.mp3");
  EXPECT_TRUE(QFile::exists(dir() + "live_2.mp3"));
  EXPECT_FALSE(QFile::exists(dir() + "live_1.mp3")) << "planning creates nothing";
}

TEST_F(JobPlanningTest, TheProfileDecidesTheExtensionAndTagsAndFadesTravelWithEachPiece) {
  std::vector<SourceRecord> sources{source("tagged.mp3", 10)};
  sources[0].tags.title = "Morning";
  sources[0].tags.year = "2019";
  JobSettings settings = settingsFor(SplitFunction::EqualPieces, dir());
  settings.fadeIn = true;
  settings.fadeInSeconds = 2;
  settings.fadeOutSeconds = 4;  // fade-out off: its length does not matter
  EncoderProfile ogg;
  ogg.formatIndex = kFormatOgg;
  const SplitPlan plan = planSplit(sources, settings, ogg);
  ASSERT_EQ(plan.pieces.size(), 3u);
  EXPECT_EQ(plan.profile.formatIndex, kFormatOgg);
  for (const PiecePlan& piece : plan.pieces) {
    EXPECT_TRUE(piece.outputPath.endsWith(".ogg"));
    EXPECT_EQ(piece.tags.year, "2019");
    EXPECT_EQ(piece.fadeInSeconds, 2);
    EXPECT_EQ(piece.fadeOutSeconds, 0);
  }
}

TEST_F(JobPlanningTest, CustomCutsConfirmedRangesOrTheLonePendingOne) {
  std::vector<SourceRecord> sources{source("a.mp3", 12), source("b.mp3", 7)};
  mark(sources[0], {{2, 5}, {8, 10}});
  const SplitPlan plan = planSplit(sources, settingsFor(SplitFunction::Custom, dir()), mp3);
  ASSERT_EQ(plan.pieces.size(), 3u);
  EXPECT_EQ(plan.pieces[0].firstFrame, 2 * 22050);
  EXPECT_EQ(plan.pieces[0].endFrame, 5 * 22050);
  EXPECT_EQ(plan.pieces[1].row, 1);
  EXPECT_TRUE(plan.pieces[1].endsWithinShortTail);
  EXPECT_EQ(plan.pieces[2].source, 1) << "the second source's lone pending range: all of it";
  EXPECT_EQ(plan.pieces[2].firstFrame, 0);
  EXPECT_EQ(plan.pieces[2].endFrame, sources[1].frames);
  // The rows the segment list shows while the job runs: the pending range left out.
  const auto rows = plan.rows[0];
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1].begin, 8);
  EXPECT_EQ(rows[1].status, SegmentStatus::Confirmed);
  const auto lone = plan.rows[1];
  ASSERT_EQ(lone.size(), 1u);
  EXPECT_EQ(lone[0].status, SegmentStatus::Confirmed) << "the lone pending range is cut";
}

TEST_F(JobPlanningTest, UnificationClampsTheSharedRangesToEachSourceKeepingTheirRows) {
  std::vector<SourceRecord> sources{source("long.mp3", 100), source("short.mp3", 50)};
  mark(sources[0], {{10, 60}, {70, 90}});
  mark(sources[1], {{1, 2}});  // not used in this mode
  const JobSettings settings = settingsFor(SplitFunction::Unification, dir());
  const SplitPlan plan = planSplit(sources, settings, mp3);
  ASSERT_EQ(plan.pieces.size(), 3u);
  EXPECT_EQ(plan.pieces[2].source, 1);
  EXPECT_EQ(plan.pieces[2].row, 0);
  EXPECT_EQ(plan.pieces[2].firstFrame, 10 * 22050);
  EXPECT_EQ(plan.pieces[2].endFrame, sources[1].frames) << "clamped to the short source's end";
  EXPECT_FALSE(plan.pieces[2].endsWithinShortTail);
  EXPECT_EQ(plan.rows[1].size(), 2u) << "the short source shows every shared range";

  const JoinPlan join = planJoin(sources, settings, mp3, dir() + "joined.mp3");
  ASSERT_EQ(join.parts.size(), 3u);
  EXPECT_EQ(join.parts[2].row, 0);
  EXPECT_EQ(join.parts[2].endFrame, sources[1].frames);
}

TEST_F(JobPlanningTest, AWholeFileJoinTakesEverySourceInTheFirstSourcesFormat) {
  std::vector<SourceRecord> sources{source("a.mp3", 12), source("b.mp3", 7)};
  sources[1].sampleRate = 44100;
  sources[1].channels = 2;
  JobSettings settings = settingsFor(SplitFunction::EqualPieces, dir());
  settings.fadeOut = true;
  settings.fadeOutSeconds = 3;
  const JoinPlan plan = planJoin(sources, settings, mp3, dir() + "all.mp3");
  ASSERT_EQ(plan.parts.size(), 2u);
  EXPECT_TRUE(plan.parts[0].whole);
  EXPECT_EQ(plan.parts[1].endFrame, sources[1].frames);
  EXPECT_EQ(plan.outputRate, 22050);
  EXPECT_EQ(plan.outputChannels, 1);
  EXPECT_EQ(plan.fadeInSeconds, 0);
  EXPECT_EQ(plan.fadeOutSeconds, 3);
  EXPECT_EQ(plan.outputPath, dir() + "all.mp3");
  const auto rows = plan.rows[1];
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].end, 7);
  EXPECT_TRUE(planJoin({}, settings, mp3, dir() + "none.mp3").parts.empty());
}

TEST_F(JobPlanningTest, ARangesOwnTitleAndPerformerNameItsPieceUnderCustomOnly) {
  std::vector<SourceRecord> sources{source("album.mp3", 100), source("other.mp3", 100)};
  sources[0].tags.title = "Whole album";
  sources[0].tags.artist = "Band";
  sources[0].tags.album = "Album";
  sources[0].ranges = {{0, 40, RangeState::Confirmed, QStringLiteral("Überture"), {}},
                       {40, 100, RangeState::Confirmed, {}, QStringLiteral("Guest")},
                       {0, 100, RangeState::Pending}};
  const SplitPlan custom = planSplit(sources, settingsFor(SplitFunction::Custom, dir()), mp3);
  ASSERT_EQ(custom.pieces.size(), 3u);
  EXPECT_EQ(custom.pieces[0].tags.title, "Überture");
  EXPECT_EQ(custom.pieces[0].tags.artist, "Band") << "no performer: the source's artist";
  EXPECT_EQ(custom.pieces[1].tags.title, "Whole album") << "no title: the source's title";
  EXPECT_EQ(custom.pieces[1].tags.artist, "Guest");
  EXPECT_EQ(custom.pieces[1].tags.album, "Album");
  EXPECT_EQ(custom.pieces[1].tags.track, "2/2");

  // Under Unification the first source's ranges are cut from every source;
  // their track texts belong to the first source alone, so no piece takes them.
  const SplitPlan shared = planSplit(sources, settingsFor(SplitFunction::Unification, dir()), mp3);
  ASSERT_EQ(shared.pieces.size(), 4u);
  EXPECT_EQ(shared.pieces[0].tags.title, "Whole album");
  EXPECT_EQ(shared.pieces[3].tags.artist, "");
}

TEST_F(JobPlanningTest, ACueSheetsTracksAreCutAtTheirExactSampleUntilAnEndIsMoved) {
  // Track 2 starts at 40 s + 38 CD frames (40.507 s), track 3 at 70 s + 20 frames:
  // marked at 41 s and 70 s, cut where the sheet says (294 frames a CD frame here).
  std::vector<SourceRecord> sources{source("album.mp3", 100)};
  markFromCueSheet(sources[0],
                   parseCueSheet("FILE \"album.wav\" WAVE\n TRACK 01 AUDIO\n  INDEX 01 00:00:00\n"
                                 " TRACK 02 AUDIO\n  INDEX 01 00:40:38\n"
                                 " TRACK 03 AUDIO\n  INDEX 01 01:10:20\n",
                                 "album.cue"),
                   0);
  const JobSettings settings = settingsFor(SplitFunction::Custom, dir());
  SplitPlan plan = planSplit(sources, settings, mp3);
  ASSERT_EQ(plan.pieces.size(), 3u);
  EXPECT_EQ(sources[0].ranges[1].begin, 41);
  const int64_t second = (40 * 75 + 38) * 294;
  const int64_t third = (70 * 75 + 20) * 294;
  EXPECT_EQ(plan.pieces[0].endFrame, second);
  EXPECT_EQ(plan.pieces[1].firstFrame, second);
  EXPECT_EQ(plan.pieces[1].endFrame, third);
  EXPECT_EQ(plan.pieces[2].firstFrame, third);
  EXPECT_EQ(plan.pieces[2].endFrame, sources[0].frames);

  // Saved and loaded again, the marks keep the sheet's exact times.
  const QString sheetPath = folder.path("album.cue");
  writeCueSheet(sheetPath, cueSheetOfMarks(sources[0]), false);
  std::vector<SourceRecord> reloaded{source("album.mp3", 100)};
  markFromCueFile(reloaded[0], sheetPath);
  const SplitPlan again = planSplit(reloaded, settings, mp3);
  ASSERT_EQ(again.pieces.size(), 3u);
  EXPECT_EQ(again.pieces[1].firstFrame, second);
  EXPECT_EQ(again.pieces[2].firstFrame, third);

  // A begin the user moved is cut at its whole second; the other ends stay exact.
  sources[0].ranges[1].begin = 45;
  plan = planSplit(sources, settings, mp3);
  EXPECT_EQ(plan.pieces[1].firstFrame, 45 * 22050);
  EXPECT_EQ(plan.pieces[1].endFrame, third);
  EXPECT_EQ(plan.pieces[0].endFrame, second);
}

}  // namespace
}  // namespace tarvex
