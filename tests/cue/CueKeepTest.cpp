// Save marks over an existing sheet keeps what marks do not describe.
#include <gtest/gtest.h>

#include <QFile>

#include "sources/cue/CueMarks.h"
#include "sources/cue/CueSheetReader.h"
#include "sources/cue/CueSheetWriter.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TempFolder.h"

namespace tarvex {
namespace {

using testing::TempFolder;

// As a ripper writes a sheet: disc REM lines and a catalog, a FILE line naming
// the WAV the MP3 was made from, flags, ISRCs, a pregap, a second index.
const char kRippedSheet[] =
    "REM DISCID 8A0B2C0D\r\nCATALOG 0123456789012\r\nREM GENRE Jazz\r\n"
    "PERFORMER \"Band\"\r\nTITLE \"Album\"\r\nFILE \"album.wav\" WAVE\r\n"
    "  TRACK 01 AUDIO\r\n    TITLE \"One\"\r\n    FLAGS DCP\r\n    ISRC GBAAA9900001\r\n"
    "    INDEX 01 00:00:00\r\n"
    "  TRACK 02 AUDIO\r\n    TITLE \"Two\"\r\n    REM COMPOSER \"Someone\"\r\n"
    "    INDEX 00 03:10:00\r\n    INDEX 01 03:12:37\r\n    INDEX 02 03:40:00\r\n"
    "  TRACK 03 AUDIO\r\n    TITLE \"Three\"\r\n    INDEX 01 05:00:00\r\n";

TEST(CueKeep, SavingMarksOverASheetKeepsItsPregapsFileTypeAndOtherLines) {
  TempFolder folder;
  const QString sheetPath = folder.path("album.cue");
  {
    QFile file(sheetPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(kRippedSheet);
  }
  SourceRecord record;
  record.path = folder.path("album.mp3");
  record.sampleRate = 44100;
  record.channels = 2;
  record.frames = 400LL * 44100 + 1234;
  record.durationMs = 400028;
  record.lengthSeconds = 400;
  record.resetRanges();
  markFromCueFile(record, sheetPath);
  record.ranges[1].title = QStringLiteral("Two, renamed");

  const CueSheet saved = cueSheetOfMarksOver(record, sheetPath);
  const QString text = QString::fromUtf8(formatCueSheet(saved));
  for (const char* kept :
       {"REM DISCID 8A0B2C0D", "CATALOG 0123456789012", "FILE \"album.wav\" WAVE", "FLAGS DCP",
        "ISRC GBAAA9900001", "REM COMPOSER \"Someone\"", "INDEX 00 03:10:00", "INDEX 02 03:40:00",
        "TITLE \"Two, renamed\""}) {
    EXPECT_TRUE(text.contains(QString::fromLatin1(kept))) << kept << "\n" << text.toStdString();
  }
  EXPECT_FALSE(text.contains("TITLE \"Two\"")) << "the marks' title wins";
  // The ISRC stays with its own track.
  EXPECT_LT(text.indexOf("ISRC"), text.indexOf("TRACK 02"));

  // Read back, it marks the same exact starts.
  writeCueSheet(sheetPath, saved, true);
  SourceRecord reread = record;
  reread.resetRanges();
  markFromCueFile(reread, sheetPath);
  ASSERT_EQ(reread.ranges.size(), record.ranges.size());
  for (size_t i = 0; i + 1 < record.ranges.size(); ++i) {
    EXPECT_EQ(reread.ranges[i].exactFirst, record.ranges[i].exactFirst);
    EXPECT_EQ(reread.ranges[i].title, record.ranges[i].title);
  }

  // A sheet that cannot be read keeps nothing, and the save still works.
  {
    QFile file(sheetPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a sheet\n");
  }
  const QString fresh = QString::fromUtf8(formatCueSheet(cueSheetOfMarksOver(record, sheetPath)));
  EXPECT_FALSE(fresh.contains("CATALOG"));
  EXPECT_TRUE(fresh.contains("FILE \"album.mp3\" MP3"));
}

}  // namespace
}  // namespace tarvex
