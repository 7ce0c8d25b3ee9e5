// Sheets in the forms ripping, burning and tagging tools write, read into
// tracks and ranges.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "sources/cue/CueFileMatch.h"
#include "sources/cue/CueSheetError.h"
#include "sources/cue/CueSheetReader.h"
#include "sources/cue/TrackPieces.h"
#include "tests/cue/RecordedSource.h"
#include "tests/support/TempFolder.h"

namespace tarvex {
namespace {

using testing::TempFolder;

// A single-file rip with disc and track texts, REM lines, flags, ISRC codes
// and pregaps (INDEX 00 before INDEX 01), CRLF line ends.
const char kRipSheet[] =
    "REM GENRE \"Electronic\"\r\n"
    "REM DATE 1998\r\n"
    "REM DISCID 8A0B7C0A\r\n"
    "REM COMMENT \"ripped at home\"\r\n"
    "CATALOG 0724384960650\r\n"
    "PERFORMER \"Sigur Rós\"\r\n"
    "TITLE \"Ágætis byrjun\"\r\n"
    "FILE \"Ágætis byrjun.wav\" WAVE\r\n"
    "  TRACK 01 AUDIO\r\n"
    "    TITLE \"Intro\"\r\n"
    "    FLAGS DCP\r\n"
    "    INDEX 01 00:00:00\r\n"
    "  TRACK 02 AUDIO\r\n"
    "    TITLE \"Svefn-g-englar\"\r\n"
    "    ISRC GBAYE9800012\r\n"
    "    INDEX 00 01:35:50\r\n"
    "    INDEX 01 01:37:12\r\n"
    "  TRACK 03 AUDIO\r\n"
    "    TITLE \"Starálfur\"\r\n"
    "    PERFORMER \"Sigur Rós & strings\"\r\n"
    "    INDEX 00 11:39:00\r\n"
    "    INDEX 01 11:41:74\r\n"
    "    INDEX 02 13:00:00\r\n";

TEST(CueRead, SingleFileRipGivesOneRangePerTrackWithTexts) {
  const CueSheet sheet = parseCueSheet(QByteArray(kRipSheet), QStringLiteral("rip.cue"));
  EXPECT_EQ(sheet.performer, QStringLiteral("Sigur Rós"));
  EXPECT_EQ(sheet.title, QStringLiteral("Ágætis byrjun"));
  EXPECT_EQ(sheet.genre, QStringLiteral("Electronic"));
  EXPECT_EQ(sheet.date, QStringLiteral("1998"));
  EXPECT_EQ(sheet.comment, QStringLiteral("ripped at home"));
  ASSERT_EQ(sheet.files.size(), 1u);
  EXPECT_EQ(sheet.files[0].name, QStringLiteral("Ágætis byrjun.wav"));
  EXPECT_EQ(sheet.files[0].type, QStringLiteral("WAVE"));
  ASSERT_EQ(sheet.tracks.size(), 3u);
  EXPECT_EQ(sheet.tracks[2].indexes.size(), 3u);

  // 70 minutes and a bit of audio at 44.1 kHz (588 samples to a CD frame):
  // the last track runs to the end.
  const int64_t length = int64_t{70} * 60 * 44100 + 123;
  const auto pieces =
      trackPiecesOf(sheet, 0, testing::recordedSource(QStringLiteral("a.wav"), 44100, length));
  ASSERT_EQ(pieces.size(), 3u);
  EXPECT_EQ(pieces[0].span.first, 0);
  // The next INDEX 01, not INDEX 00.
  EXPECT_EQ(pieces[0].span.end, ((1 * 60 + 37) * 75 + 12) * 588);
  EXPECT_EQ(pieces[1].span.first, ((1 * 60 + 37) * 75 + 12) * 588);
  EXPECT_EQ(pieces[1].span.end, ((11 * 60 + 41) * 75 + 74) * 588);
  EXPECT_EQ(pieces[2].span.first, ((11 * 60 + 41) * 75 + 74) * 588);  // INDEX 02 is no boundary
  EXPECT_EQ(pieces[2].span.end, length);
  EXPECT_EQ(pieces[1].number, 2);
  EXPECT_EQ(pieces[1].title, QStringLiteral("Svefn-g-englar"));
  EXPECT_EQ(pieces[1].performer, QStringLiteral("Sigur Rós"));  // the sheet's
  EXPECT_EQ(pieces[2].performer, QStringLiteral("Sigur Rós & strings"));
}

TEST(CueRead, FrameTimesAreExactAndMinutesMayPassNinetyNine) {
  const CueSheet sheet = parseCueSheet(
      "FILE show.mp3 MP3\nTRACK 1 AUDIO\nINDEX 1 0:00:01\nTRACK 2 AUDIO\nINDEX 01 125:59:74\n",
      QStringLiteral("show.cue"));
  ASSERT_EQ(sheet.tracks.size(), 2u);
  EXPECT_EQ(sheet.files[0].name, QStringLiteral("show.mp3"));
  EXPECT_EQ(sheet.tracks[0].startFrame(), 1);
  EXPECT_EQ(sheet.tracks[1].startFrame(), (125 * 60 + 59) * 75 + 74);
  EXPECT_EQ(formatCueTime(sheet.tracks[1].startFrame()), QStringLiteral("125:59:74"));
  EXPECT_EQ(cueFrameToMs(1), 13);    // 13.33 ms
  EXPECT_EQ(cueFrameToMs(74), 987);  // 986.67 ms
  EXPECT_EQ(msToCueFrame(987), 74);
}

TEST(CueRead, BareTextsAndLowerCaseKeywordsAndBomAreAccepted) {
  const CueSheet sheet = parseCueSheet(
      "\xEF\xBB\xBFperformer The Band\n"
      "title Live at the Hall\n"
      "file Live at the Hall.flac wave\n"
      "  track 01 audio\n"
      "    title Opening Number\n"
      "    index 01 00:00:00\n",
      QStringLiteral("live.cue"));
  EXPECT_EQ(sheet.performer, QStringLiteral("The Band"));
  EXPECT_EQ(sheet.title, QStringLiteral("Live at the Hall"));
  EXPECT_EQ(sheet.files[0].name, QStringLiteral("Live at the Hall.flac"));
  EXPECT_EQ(sheet.files[0].type, QStringLiteral("WAVE"));
  EXPECT_EQ(sheet.tracks[0].title, QStringLiteral("Opening Number"));
}

TEST(CueRead, NonUtf8SheetsAreReadAsTheWesternCodePage) {
  // "Café – Noël" in Windows-1252: é E9, en dash 96, ë EB.
  const CueSheet sheet = parseCueSheet(
      "FILE \"x.wav\" WAVE\nTRACK 01 AUDIO\nTITLE \"Caf\xE9 \x96 No\xEBl\"\nINDEX 01 00:00:00\n",
      QStringLiteral("old.cue"));
  EXPECT_EQ(sheet.tracks[0].title, QStringLiteral("Café – Noël"));

  QByteArray utf16("\xFF\xFE", 2);
  const QString text =
      QStringLiteral("FILE \"x.wav\" WAVE\nTRACK 01 AUDIO\nTITLE \"日本語\"\nINDEX 01 00:00:00\n");
  utf16.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
  EXPECT_EQ(parseCueSheet(utf16, QStringLiteral("w.cue")).tracks[0].title,
            QStringLiteral("日本語"));
}

TEST(CueRead, MultiFileSheetGivesEachFileItsOwnTracks) {
  // One file per track, the pregap of each track kept at the end of the file before.
  const char sheetText[] =
      "FILE \"01.wav\" WAVE\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
      "  TRACK 02 AUDIO\n    INDEX 00 03:10:00\n"
      "FILE \"02.wav\" WAVE\n    INDEX 01 00:00:00\n"
      "  TRACK 03 AUDIO\n    INDEX 00 04:00:00\n"
      "FILE \"03.wav\" WAVE\n    INDEX 01 00:00:00\n";
  const CueSheet sheet = parseCueSheet(QByteArray(sheetText), QStringLiteral("m.cue"));
  ASSERT_EQ(sheet.files.size(), 3u);
  ASSERT_EQ(sheet.tracks.size(), 3u);
  EXPECT_EQ(sheet.tracks[1].fileIndex, 1);
  EXPECT_EQ(sheet.tracks[2].fileIndex, 2);
  const auto second =
      trackPiecesOf(sheet, 1, testing::recordedSource(QStringLiteral("02.wav"), 8000, 800000));
  ASSERT_EQ(second.size(), 1u);
  EXPECT_EQ(second[0].number, 2);
  EXPECT_EQ(second[0].span, (SampleSpan{0, 800000}));
  EXPECT_EQ(cueFileIndexFor(sheet, QStringLiteral("/music/02.mp3")), 1);
  EXPECT_EQ(cueFileIndexFor(sheet, QStringLiteral("/music/other.mp3")), -1);
}

TEST(CueRead, SheetNamingAnotherExtensionFindsTheAudioBesideIt) {
  TempFolder folder;
  testing::writeText(folder.path(QStringLiteral("Album.mp3")), QStringLiteral("x"));
  const QString cuePath = folder.path(QStringLiteral("Album.cue"));
  testing::writeText(cuePath, QStringLiteral("FILE \"Album.wav\" WAVE\nTRACK 01 AUDIO\n"
                                             "INDEX 01 00:00:00\n"));
  const CueSheet sheet = readCueSheet(cuePath);
  EXPECT_EQ(cueAudioPath(sheet, 0, cuePath), folder.path(QStringLiteral("Album.mp3")));
  EXPECT_EQ(cueFileIndexFor(sheet, folder.path(QStringLiteral("Album.mp3"))), 0);
  EXPECT_EQ(cueSheetBeside(folder.path(QStringLiteral("Album.mp3"))), cuePath);
  // "NAME.EXT.cue" counts too; an audio file without a sheet has none.
  testing::writeText(folder.path(QStringLiteral("Other.mp3")), QStringLiteral("x"));
  EXPECT_EQ(cueSheetBeside(folder.path(QStringLiteral("Other.mp3"))), QString());
  testing::writeText(folder.path(QStringLiteral("Other.mp3.cue")), QStringLiteral("x"));
  EXPECT_EQ(cueSheetBeside(folder.path(QStringLiteral("Other.mp3"))),
            folder.path(QStringLiteral("Other.mp3.cue")));
  // A sheet whose audio is nowhere names none.
  QFile::remove(folder.path(QStringLiteral("Album.mp3")));
  EXPECT_EQ(cueAudioPath(sheet, 0, cuePath), QString());
}

TEST(CueRead, MarksRoundToTheNearestSecondAndStayContiguous) {
  // 8 kHz: a CD frame is no whole number of samples.
  const int64_t begins[] = {0, 10 * 75 + 37,  // 10.49 s → 10
                            20 * 75 + 38,     // 20.51 s → 21
                            21 * 75 + 2};     // 21.03 s → 21: rounds to nothing, merged away
  const int64_t length = 95 * 8000 + 7000;    // 95.875 s, marked to 95
  std::vector<TrackPiece> pieces(4);
  for (size_t i = 0; i < 4; ++i) {
    pieces[i].span.first = sampleAtCueFrame(begins[i], 8000);
    pieces[i].span.end = i + 1 < 4 ? sampleAtCueFrame(begins[i + 1], 8000) : length;
  }
  std::vector<int> kept;
  const auto seconds = roundToWholeSeconds(pieces, 8000, 95, &kept);
  ASSERT_EQ(seconds.size(), 3u);
  EXPECT_EQ(seconds[0].begin, 0);
  EXPECT_EQ(seconds[0].end, 10);
  EXPECT_EQ(seconds[1].begin, 10);
  EXPECT_EQ(seconds[1].end, 21);
  EXPECT_EQ(seconds[2].begin, 21);
  EXPECT_EQ(seconds[2].end, 95);
  EXPECT_EQ(kept, (std::vector<int>{0, 1, 3}));
}

TEST(CueRead, EveryCdFrameComesBackFromItsSample) {
  // Save marks writes a sheet's own positions back unchanged at any rate.
  for (const int rate : {8000, 11025, 22050, 44100, 48000, 96000}) {
    for (int64_t frame = 0; frame < 3 * 75; ++frame) {
      ASSERT_EQ(cueFrameAtSample(sampleAtCueFrame(frame, rate), rate), frame) << rate;
    }
    const int64_t late = (125 * 60 + 59) * 75 + 74;
    EXPECT_EQ(cueFrameAtSample(sampleAtCueFrame(late, rate), rate), late) << rate;
  }
  EXPECT_EQ(sampleAtCueFrame(1, 8000), 107);  // 106.67 samples
}

TEST(CueRead, TrackStartingAfterTheAudioEndsIsReported) {
  const CueSheet sheet = parseCueSheet(
      "FILE a.wav WAVE\nTRACK 01 AUDIO\nINDEX 01 00:00:00\nTRACK 02 AUDIO\nINDEX 01 05:00:00\n",
      QStringLiteral("a.cue"));
  try {
    trackPiecesOf(sheet, 0,
                  testing::recordedSource(QStringLiteral("/m/a.mp3"), 44100, 240 * 44100));
    FAIL() << "a track past the end was accepted";
  } catch (const CueSheetError& error) {
    EXPECT_TRUE(error.message().contains(QStringLiteral("track 2 starts at 05:00:00")))
        << error.message().toStdString();
    EXPECT_TRUE(error.message().contains(QStringLiteral("/m/a.mp3")));
  }
}

TEST(CueRead, ASourceOfUnknownRateIsRefusedWithItsName) {
  const CueSheet sheet = parseCueSheet("FILE a.wav WAVE\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n",
                                       QStringLiteral("a.cue"));
  SourceRecord record = testing::recordedSource(QStringLiteral("/m/a.wav"), 44100, 44100);
  record.sampleRate = 0;
  try {
    trackPiecesOf(sheet, 0, record);
    FAIL() << "a source of unknown rate was marked";
  } catch (const CueSheetError& error) {
    EXPECT_TRUE(error.message().contains(QStringLiteral("a.wav"))) << error.message().toStdString();
  }
}

}  // namespace
}  // namespace tarvex
