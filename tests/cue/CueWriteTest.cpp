// Sheets we write: read back by us and by cuebreakpoints (cuetools) with the
// same break points; an existing file is never replaced unasked.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include "sources/cue/CueSheetError.h"
#include "sources/cue/CueSheetReader.h"
#include "sources/cue/CueSheetWriter.h"
#include "tests/cue/RecordedSource.h"
#include "tests/support/TempFolder.h"

namespace tarvex {
namespace {

using testing::TempFolder;

// The CD frames the sample pieces start on, at 48 kHz (640 samples a frame).
constexpr int64_t kBegins[] = {0, 3 * 75 + 1, 65 * 75 + 74, 6000 * 75 + 10};
constexpr int kRate = 48000;

std::vector<TrackPiece> samplePieces() {
  // A gap between the second and third piece; frame-exact starts, and one a
  // few samples off its frame that is written at the nearest.
  std::vector<TrackPiece> pieces(4);
  const int64_t ends[] = {3 * 75 + 1, 60 * 75, 6000 * 75 + 10, 6001 * 75};
  const char* titles[] = {"Überture", "Say \"hi\"", "Line\nbreak", "Ünï ☃"};
  for (size_t i = 0; i < 4; ++i) {
    pieces[i].span = {kBegins[i] * 640, ends[i] * 640};
    pieces[i].title = QString::fromUtf8(titles[i]);
    pieces[i].performer = QStringLiteral("Ensemble Ø");
  }
  pieces[1].span.first += 300;  // under half a frame late
  return pieces;
}

// cuebreakpoints prints "m:ss.ff" for every track start after the first.
std::vector<int64_t> outsideBreakPoints(const QString& cuePath) {
  QProcess process;
  process.start(QStringLiteral("cuebreakpoints"), {cuePath});
  EXPECT_TRUE(process.waitForFinished(20000));
  EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
  std::vector<int64_t> points;
  const QRegularExpression pattern(QStringLiteral("^(\\d+):(\\d\\d)\\.(\\d\\d)$"));
  for (const QByteArray& line : process.readAllStandardOutput().split('\n')) {
    if (line.trimmed().isEmpty()) continue;
    const auto match = pattern.match(QString::fromUtf8(line.trimmed()));
    EXPECT_TRUE(match.hasMatch()) << line.toStdString();
    if (!match.hasMatch()) continue;
    points.push_back((match.captured(1).toLongLong() * 60 + match.captured(2).toLongLong()) * 75 +
                     match.captured(3).toLongLong());
  }
  return points;
}

TEST(CueWrite, SheetReadsBackHereAndInCuetoolsWithTheSameBreakPoints) {
  if (QStandardPaths::findExecutable(QStringLiteral("cuebreakpoints")).isEmpty())
    GTEST_SKIP() << "cuebreakpoints (cuetools) is not installed";
  TempFolder folder;
  const QString cuePath = folder.path(QStringLiteral("show.cue"));
  CueSheet sheet =
      cueSheetFromPieces(folder.path(QStringLiteral("show.mp3")), samplePieces(), kRate);
  sheet.title = QStringLiteral("Nächtliche Sendung");
  writeCueSheet(cuePath, sheet, false);

  const std::vector<int64_t> points = outsideBreakPoints(cuePath);
  EXPECT_EQ(points, (std::vector<int64_t>{3 * 75 + 1, 65 * 75 + 74, 6000 * 75 + 10}));

  const CueSheet back = readCueSheet(cuePath);
  EXPECT_EQ(back.title, QStringLiteral("Nächtliche Sendung"));
  ASSERT_EQ(back.files.size(), 1u);
  EXPECT_EQ(back.files[0].name, QStringLiteral("show.mp3"));
  EXPECT_EQ(back.files[0].type, QStringLiteral("MP3"));
  const auto ranges = trackPiecesOf(back, 0,
                                    testing::recordedSource(folder.path(QStringLiteral("show.mp3")),
                                                            kRate, int64_t{6001} * 75 * 640));
  ASSERT_EQ(ranges.size(), 4u);
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ(ranges[i].span.first, kBegins[i] * 640) << i;
  EXPECT_EQ(ranges[0].title, QStringLiteral("Überture"));
  EXPECT_EQ(ranges[1].title, QStringLiteral("Say 'hi'"));
  EXPECT_EQ(ranges[2].title, QStringLiteral("Line break"));
  EXPECT_EQ(ranges[3].title, QString::fromUtf8("Ünï ☃"));
  EXPECT_EQ(ranges[3].performer, QStringLiteral("Ensemble Ø"));
  // The gap before the third range is its pregap.
  ASSERT_EQ(back.tracks[2].indexes.size(), 2u);
  EXPECT_EQ(back.tracks[2].indexes[0].number, 0);
  EXPECT_EQ(back.tracks[2].indexes[0].cdFrame, 60 * 75);
}

TEST(CueWrite, RangesAreWrittenInTimeOrderAndSameStartsRefused) {
  std::vector<TrackPiece> ranges = samplePieces();
  std::swap(ranges[0], ranges[3]);
  const CueSheet sheet = cueSheetFromPieces(QStringLiteral("/a/b.wav"), ranges, kRate);
  ASSERT_EQ(sheet.tracks.size(), 4u);
  EXPECT_EQ(sheet.tracks[0].startFrame(), 0);
  EXPECT_EQ(sheet.tracks[3].number, 4);
  EXPECT_EQ(sheet.tracks[3].startFrame(), 6000 * 75 + 10);
  EXPECT_EQ(sheet.files[0].type, QStringLiteral("WAVE"));

  // Two starts on one CD frame, though samples apart, cannot both be tracks.
  ranges[1].span.first = ranges[2].span.first + 100;
  EXPECT_THROW(cueSheetFromPieces(QStringLiteral("/a/b.wav"), ranges, kRate), CueSheetError);
  EXPECT_THROW(cueSheetFromPieces(QStringLiteral("/a/b.wav"), {}, kRate), CueSheetError);
  EXPECT_THROW(cueSheetFromPieces(QStringLiteral("/a/b.wav"), samplePieces(), 0), CueSheetError);
}

TEST(CueWrite, ExistingFileIsKeptUnlessTheCallerConfirmed) {
  TempFolder folder;
  const QString cuePath = folder.path(QStringLiteral("show.cue"));
  testing::writeText(cuePath, QStringLiteral("the user's own sheet"));
  const CueSheet sheet = cueSheetFromPieces(QStringLiteral("show.mp3"), samplePieces(), kRate);
  try {
    writeCueSheet(cuePath, sheet, false);
    FAIL() << "an existing sheet was replaced unasked";
  } catch (const CueSheetError& error) {
    EXPECT_TRUE(error.message().contains(QStringLiteral("already exists")));
  }
  EXPECT_EQ(testing::readText(cuePath), QStringLiteral("the user's own sheet"));

  writeCueSheet(cuePath, sheet, true);
  EXPECT_EQ(readCueSheet(cuePath).tracks.size(), 4u);

  // An unwritable place gives a message, not a half-written file.
  EXPECT_THROW(writeCueSheet(folder.path(QStringLiteral("no/such/folder/x.cue")), sheet, false),
               CueSheetError);
}

}  // namespace
}  // namespace tarvex
