// The "n/N" track number of a piece, read back by outside readers: mid3v2
// for ID3, vorbiscomment for Vorbis comments, ffprobe for WMA (it shows WM/TrackNumber as "track").
#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "tags/OutputTags.h"
#include "tests/tags/TestFiles.h"

namespace tarvex {
namespace {

QString runTool(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(30000)) return QStringLiteral("<timeout>");
  return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

// The value of `key` in a tool's "KEY=value" listing.
QString listedValue(const QString& listing, const QString& key) {
  for (const QString& line : listing.split(QLatin1Char('\n')))
    if (line.startsWith(key + QLatin1Char('='), Qt::CaseInsensitive))
      return line.mid(key.size() + 1).trimmed();
  return QStringLiteral("<missing>");
}

TEST(PieceTrackNumber, OutsideReadersSeeTheTrackOfEveryFormat) {
  for (const char* tool : {"ffprobe", "mid3v2", "vorbiscomment"})
    if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
      GTEST_SKIP() << tool << " is not installed";
  QTemporaryDir dir;
  AudioFileinfo info;
  info.title = QStringLiteral("Zweiter Satz");
  info.artist = QStringLiteral("Orchester");
  info.track = QStringLiteral("2/12");

  const QString mp3 = dir.filePath("piece_2.mp3");
  testing::writeBytes(mp3, testing::makeMp3Tone(0.3));
  WriteOutputTags(mp3, info);
  const QString id3 = runTool("mid3v2", {"-l", mp3});
  EXPECT_EQ(listedValue(id3, "TRCK"), "2/12");
  EXPECT_EQ(listedValue(id3, "TIT2"), "Zweiter Satz");

  const QString ogg = dir.filePath("piece_2.ogg");
  testing::makeOggVorbis(ogg, {"TRACKNUMBER=9"});
  WriteOutputTags(ogg, info);
  const QString comments = runTool("vorbiscomment", {"-l", ogg});
  EXPECT_EQ(listedValue(comments, "TRACKNUMBER"), "2/12");  // the old number is replaced
  EXPECT_EQ(comments.count(QStringLiteral("TRACKNUMBER="), Qt::CaseInsensitive), 1);

  const QString wma = dir.filePath("piece_2.wma");
  testing::makeWma(wma, 0.3);
  WriteOutputTags(wma, info);
  EXPECT_EQ(runTool("ffprobe", {"-v", "error", "-show_entries", "format_tags=track", "-of",
                                "default=nw=1:nk=1", wma}),
            "2");
}

}  // namespace
}  // namespace tarvex
