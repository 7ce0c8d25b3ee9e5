// A sheet's tracks as the marks of a source, and a source's marks as a sheet.
#include <gtest/gtest.h>

#include "sources/cue/CueMarks.h"
#include "sources/cue/CueSheetError.h"
#include "sources/cue/CueSheetReader.h"
#include "sources/cue/CueSheetWriter.h"
#include "tests/support/TempFolder.h"

namespace tarvex {
namespace {

using testing::TempFolder;

// A range as the segment list shows it: without the sheet's exact samples.
MarkedRange shown(MarkedRange range) {
  range.exactFirst = range.exactEnd = -1;
  return range;
}

SourceRecord probed(const QString& path, int64_t durationMs) {
  SourceRecord record;
  record.path = path;
  record.caption = QStringLiteral("Caption");
  record.durationMs = durationMs;
  record.lengthSeconds = static_cast<int>(durationMs / 1000);
  record.sampleRate = 44100;
  record.channels = 2;
  record.frames = durationMs * 441 / 10;
  record.resetRanges();
  return record;
}

// A sheet as a ripper writes it: REM lines, a pregap, several INDEX per track,
// quoted non-ASCII texts, a track without its own performer.
const char kAlbumSheet[] =
    "REM GENRE Folk\r\nREM DATE 1999\r\nREM DISCID 12345678\r\n"
    "PERFORMER \"Sheet Band\"\r\nTITLE \"Grüße\"\r\nFILE \"album.wav\" WAVE\r\n"
    "  TRACK 01 AUDIO\r\n    TITLE \"Überture\"\r\n    PERFORMER \"Ärzte\"\r\n"
    "    INDEX 01 00:00:00\r\n"
    "  TRACK 02 AUDIO\r\n    TITLE \"Zwei\"\r\n    INDEX 00 00:58:00\r\n"
    "    INDEX 01 00:59:40\r\n    INDEX 02 01:10:00\r\n"
    "  TRACK 03 AUDIO\r\n    TITLE \"Drei ☃\"\r\n    INDEX 01 02:00:37\r\n";

TEST(CueMarksTest, TracksBecomeConfirmedRangesWithTheirTextsThenAPendingWholeRange) {
  SourceRecord record = probed(QStringLiteral("/music/album.mp3"), 200400);
  record.tags.title = QStringLiteral("Own title");
  record.tags.year = QStringLiteral("2001");
  markFromCueSheet(record, parseCueSheet(kAlbumSheet, QStringLiteral("album.cue")), 0);
  ASSERT_EQ(record.ranges.size(), 4u);
  // 00:59:40 is 59.53 s and 02:00:37 is 120.49 s: the nearest whole seconds,
  // one boundary closing a track and opening the next.
  EXPECT_EQ(shown(record.ranges[0]),
            (MarkedRange{0, 60, RangeState::Confirmed, "Überture", "Ärzte"}));
  EXPECT_EQ(shown(record.ranges[1]),
            (MarkedRange{60, 120, RangeState::Confirmed, "Zwei", "Sheet Band"}));
  EXPECT_EQ(shown(record.ranges[2]),
            (MarkedRange{120, 200, RangeState::Confirmed, "Drei ☃", "Sheet Band"}));
  EXPECT_EQ(record.ranges[3], (MarkedRange{0, 200, RangeState::Pending}));
  // 588 samples to a CD frame at 44.1 kHz.
  EXPECT_EQ(record.ranges[1].exactFirst, (59 * 75 + 40) * 588);
  EXPECT_EQ(record.ranges[1].exactEnd, (120 * 75 + 37) * 588);
  EXPECT_EQ(record.ranges[2].exactEnd, -1) << "the last track runs to the end";
  EXPECT_EQ(record.tags.album, "Grüße");
  EXPECT_EQ(record.tags.genre, "Folk");
  EXPECT_EQ(record.tags.year, "2001") << "the source's own year is kept";
  EXPECT_EQ(record.tags.title, "Own title") << "the source keeps its title; tracks carry theirs";
  EXPECT_TRUE(record.tags.track.isEmpty());
}

TEST(CueMarksTest, ASheetThatDoesNotFitTheAudioLeavesTheMarksAlone) {
  TempFolder folder;
  // Track 3 starts at 2:00, past the end of a 100-second file.
  SourceRecord shortRecord = probed(folder.path("album.mp3"), 100000);
  const std::vector<MarkedRange> before = shortRecord.ranges;
  EXPECT_THROW(
      markFromCueSheet(shortRecord, parseCueSheet(kAlbumSheet, QStringLiteral("a.cue")), 0),
      CueSheetError);
  EXPECT_EQ(shortRecord.ranges, before);

  // A sheet that names other audio files is refused by name.
  testing::writeText(folder.path("other.cue"),
                     "FILE \"x.wav\" WAVE\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n"
                     "FILE \"y.wav\" WAVE\nTRACK 02 AUDIO\nINDEX 01 00:00:00\n");
  SourceRecord album = probed(folder.path("album.mp3"), 200000);
  try {
    markFromCueFile(album, folder.path("other.cue"));
    FAIL() << "a sheet of other files marked the source";
  } catch (const CueSheetError& error) {
    EXPECT_TRUE(error.message().contains("album.mp3")) << error.message().toStdString();
  }
  EXPECT_EQ(album.ranges.size(), 1u);
}

TEST(CueMarksTest, SavedMarksReadBackAsTheSameRangesAndTexts) {
  TempFolder folder;
  SourceRecord record = probed(folder.path("Live Set.mp3"), 300700);
  record.tags.album = QStringLiteral("Live");
  record.tags.artist = QStringLiteral("DJ Ø");
  record.replaceMarks(
      {{0, 95, RangeState::Confirmed, QStringLiteral("Opening \"One\""), {}},
       {95, 181, RangeState::Confirmed},
       {181, 300, RangeState::JustConfirmed, QStringLiteral("Finale"), QStringLiteral("Guest")}});
  const QString path = marksSheetPath(record.path);
  EXPECT_EQ(path, folder.path("Live Set.cue"));
  writeCueSheet(path, cueSheetOfMarks(record), false);

  SourceRecord readBack = probed(record.path, 300700);
  markFromCueFile(readBack, path);
  ASSERT_EQ(readBack.ranges.size(), 4u);
  EXPECT_EQ(shown(readBack.ranges[0]),
            (MarkedRange{0, 95, RangeState::Confirmed, "Opening 'One'", "DJ Ø"}))
      << "a double quote cannot stand in a sheet's text; the sheet's performer fills in";
  EXPECT_EQ(readBack.ranges[1].begin, 95);
  EXPECT_EQ(readBack.ranges[1].end, 181);
  EXPECT_EQ(shown(readBack.ranges[2]),
            (MarkedRange{181, 300, RangeState::Confirmed, "Finale", "Guest"}));
  EXPECT_EQ(readBack.tags.album, "Live");

  // A lone pending range is the whole file: one track.
  SourceRecord unmarked = probed(folder.path("plain.mp3"), 30000);
  EXPECT_EQ(cueSheetOfMarks(unmarked).tracks.size(), 1u);
}

}  // namespace
}  // namespace tarvex
