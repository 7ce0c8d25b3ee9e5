// Pieces split by the executor from a planned job carry their source's whole
// tag (picture, composer, comment, ...) with "n/N" as the track, encoded or
// copied without re-encoding, MP3 or Ogg; an untagged source gives pieces
// without empty frames.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "processing/JobPlanning.h"
#include "sources/SourceProbe.h"
#include "tests/executor/ExecutorHarness.h"
#include "tests/support/CarriedTagFiles.h"
#include "tests/support/GeneratedAudio.h"
#include "tests/support/LameSources.h"
#include "tests/support/OutsideTool.h"
#include "tests/support/TempFolder.h"

namespace tarvex::testing {
namespace {

// Takes the lines of the piece's own edge audio out of `lines` (a frame
// copy writes it for pieces with encoded edges) and says how many there were.
int takeEdgeAudio(QStringList& lines) {
  const qsizetype before = lines.size();
  lines.removeIf([](const QString& line) {
    return line.startsWith(QLatin1String("PRIV:Tarvex MP3 Splitter Joiner: edge audio="));
  });
  return static_cast<int>(before - lines.size());
}

class CarriedTagsExecutorTest : public ::testing::Test {
 protected:
  // Splits `source` into three equal pieces in `profile`'s format and
  // returns the pieces' paths in order.
  QStringList splitInThree(const QString& source, const EncoderProfile& profile) {
    const ProbeResult probed = tarvex::probeSource(source, false);
    EXPECT_EQ(probed.outcome, ProbeResult::Outcome::Added);
    JobSettings settings;
    settings.function = SplitFunction::EqualPieces;
    settings.pieceCount = 3;
    settings.outputDir = out_.path() + QLatin1Char('/');
    const SplitPlan plan = planSplit({probed.record}, settings, profile);
    const JobRecord record = runJob(plan, {});
    EXPECT_EQ(record.result, JobExecutor::JobResult::Completed)
        << record.failureMessage.toStdString();
    QStringList pieces;
    for (const auto& [index, path] : record.finishedPaths) pieces.append(path);
    EXPECT_EQ(pieces.size(), 3);
    return pieces;
  }

  TempFolder media_;
  TempFolder out_;
};

TEST_F(CarriedTagsExecutorTest, Mp3PiecesEncodedOrCopiedCarryTheWholeTag) {
  const QString source = makeLameMp3(media_.path(), "tagged", 3.37, 44100, 2, {"-b", "128"});
  ASSERT_FALSE(source.isEmpty());
  ASSERT_FALSE(smallPng(media_.path()).isEmpty());
  tagRichMp3(source, media_.path("cover.png"));
  const QStringList sourceLines = mutagenTagLines(source);
  for (const EncoderProfile& profile : {mp3Profile(), mp3CopyProfile()}) {
    SCOPED_TRACE(profile.formatIndex);
    const QStringList pieces = splitInThree(source, profile);
    const bool copied = profile.formatIndex == mp3CopyProfile().formatIndex;
    for (int n = 0; n < pieces.size(); ++n) {
      QStringList lines = mutagenTagLines(pieces[n]);
      EXPECT_EQ(takeEdgeAudio(lines), copied ? 1 : 0);
      EXPECT_EQ(lines, expectedPieceLines(sourceLines, QStringLiteral("%1/3").arg(n + 1)));
      const QString eyed3 = runOutsideTool("eyeD3", {"--no-color", pieces[n]});
      EXPECT_TRUE(eyed3.contains("FRONT_COVER")) << eyed3.toStdString();
      EXPECT_EQ(keyedValue(ffprobeTags(pieces[n]), "composer"), "Dvořák");
    }
  }
}

// A copied piece's edge audio describes that file's own frames: pieces cut
// from it again carry their own, never the one they were cut from.
TEST_F(CarriedTagsExecutorTest, APieceCutAgainCarriesOnlyItsOwnEdgeAudio) {
  const QString source = makeLameMp3(media_.path(), "twice", 9.37, 44100, 2, {"-b", "128"});
  ASSERT_FALSE(source.isEmpty());
  const QString middle = splitInThree(source, mp3CopyProfile()).value(1);
  ASSERT_FALSE(middle.isEmpty());
  const QStringList middleEdgeAudio = mutagenTagLines(middle).filter("edge audio=");
  ASSERT_EQ(middleEdgeAudio.size(), 1);
  const QString again = out_.path("again");
  ASSERT_TRUE(QDir().mkpath(again));
  QFile::rename(middle, again + "/middle.mp3");
  for (const QString& piece : splitInThree(again + "/middle.mp3", mp3CopyProfile())) {
    const QStringList edgeAudio = mutagenTagLines(piece).filter("edge audio=");
    EXPECT_EQ(edgeAudio.size(), 1) << piece.toStdString();
    EXPECT_NE(edgeAudio.value(0), middleEdgeAudio.value(0));
  }
}

TEST_F(CarriedTagsExecutorTest, OggPiecesCarryTheCommentsAndThePicture) {
  const QString source = media_.path("tagged.ogg");
  writeToneFile(source, 3.37, 44100, 2, AudioFormat::Ogg);
  QStringList arguments{"-w"};
  for (const QByteArray& comment : richVorbisComments(smallPng(media_.path()))) {
    arguments << "-t" << QString::fromUtf8(comment);
  }
  runOutsideTool("vorbiscomment", arguments << source);
  const QStringList sourceLines = mutagenTagLines(source);
  ASSERT_EQ(sourceLines.filter("PICTURE").size(), 1);
  EncoderProfile ogg;
  ogg.formatIndex = kFormatOgg;
  const QStringList pieces = splitInThree(source, ogg);
  for (int n = 0; n < pieces.size(); ++n) {
    EXPECT_EQ(mutagenTagLines(pieces[n]),
              expectedPieceLines(sourceLines, QStringLiteral("%1/3").arg(n + 1)));
  }
}

TEST_F(CarriedTagsExecutorTest, AnUntaggedSourceGivesPiecesWithoutEmptyFrames) {
  const QString source = makeLameMp3(media_.path(), "plain", 3.41, 44100, 1, {"-b", "96"});
  ASSERT_FALSE(source.isEmpty());
  for (const EncoderProfile& profile : {mp3Profile(), mp3CopyProfile()}) {
    SCOPED_TRACE(profile.formatIndex);
    const QStringList pieces = splitInThree(source, profile);
    for (int n = 0; n < pieces.size(); ++n) {
      QStringList lines = mutagenTagLines(pieces[n]);
      takeEdgeAudio(lines);
      EXPECT_EQ(lines, QStringList{QStringLiteral("TRCK=%1/3").arg(n + 1)});
      const QString mpg123 = runOutsideTool("sh", {"-c", "mpg123 -v -t \"$0\" 2>&1", pieces[n]});
      EXPECT_FALSE(mpg123.contains("No comment text")) << mpg123.toStdString();
    }
  }
}

}  // namespace
}  // namespace tarvex::testing
