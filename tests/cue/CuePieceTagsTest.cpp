// Pieces cut by a sheet carry its titles, performers and track numbers, as
// an outside reader (mid3v2) sees them.
#include <gtest/gtest.h>

#include <QMap>
#include <QProcess>
#include <QStandardPaths>

#include "sources/cue/CuePieceTags.h"
#include "sources/cue/CueSheetReader.h"
#include "sources/cue/TrackPieces.h"
#include "tags/OutputTags.h"
#include "tests/cue/RecordedSource.h"
#include "tests/support/GeneratedAudio.h"
#include "tests/support/TempFolder.h"

namespace tarvex {
namespace {

// The ID3 frames as mid3v2 (mutagen) lists them: "TIT2|TPE1|TALB|TRCK|TCON".
QString listedTags(const QString& path) {
  QProcess process;
  process.start(QStringLiteral("mid3v2"), {QStringLiteral("-l"), path});
  if (!process.waitForFinished(30000) || process.exitCode() != 0) return QStringLiteral("<failed>");
  QMap<QString, QString> frames;
  for (const QString& line : QString::fromUtf8(process.readAllStandardOutput()).split('\n')) {
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals > 0) frames.insert(line.left(equals), line.mid(equals + 1).trimmed());
  }
  QStringList wanted;
  for (const char* id : {"TIT2", "TPE1", "TALB", "TRCK", "TCON"})
    wanted << frames.value(QString::fromLatin1(id));
  return wanted.join(QLatin1Char('|'));
}

TEST(CuePieceTags, PiecesCarryTheSheetsTextsAndTrackNumbers) {
  if (QStandardPaths::findExecutable(QStringLiteral("mid3v2")).isEmpty())
    GTEST_SKIP() << "mid3v2 (python3-mutagen) is not installed";
  const CueSheet sheet = parseCueSheet(
      "REM GENRE Jazz\nPERFORMER \"Quartett Süd\"\nTITLE \"Live in Köln\"\n"
      "FILE \"live.wav\" WAVE\n"
      "TRACK 01 AUDIO\n TITLE \"Erste Nummer\"\n INDEX 01 00:00:00\n"
      "TRACK 02 AUDIO\n TITLE \"Zweite Nummer\"\n PERFORMER \"Gast & Quartett\"\n"
      " INDEX 01 00:00:40\n",
      QStringLiteral("live.cue"));
  AudioFileinfo source;
  source.title = QStringLiteral("whole concert");
  source.year = QStringLiteral("1975");
  source.genre = QStringLiteral("Live");
  const auto ranges =
      trackPiecesOf(sheet, 0, testing::recordedSource(QStringLiteral("live.mp3"), 44100, 88200));
  ASSERT_EQ(ranges.size(), 2u);

  testing::TempFolder folder;
  const QString expected[] = {
      QString::fromUtf8("Erste Nummer|Quartett Süd|Live in Köln|1/2|Live"),
      QString::fromUtf8("Zweite Nummer|Gast & Quartett|Live in Köln|2/2|Live")};
  for (int i = 0; i < 2; ++i) {
    const AudioFileinfo tags =
        cuePieceTags(source, sheet, ranges[static_cast<size_t>(i)], i + 1, 2);
    EXPECT_EQ(tags.year, QStringLiteral("1975"));  // the source's own stays
    const QString piece = folder.path(QStringLiteral("live_%1.mp3").arg(i + 1));
    testing::writeToneFile(piece, 0.5, 44100, 1, testing::AudioFormat::Mp3);
    WriteOutputTags(piece, tags);
    EXPECT_EQ(listedTags(piece), expected[i]);
  }
}

}  // namespace
}  // namespace tarvex
