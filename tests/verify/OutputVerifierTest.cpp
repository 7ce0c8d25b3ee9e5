#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <cmath>

#include "components/audio/AudioFile2.h"
#include "components/audio/mp3frames/Mp3LosslessCut.h"
#include "components/audio/mp3frames/Mp3LosslessJoin.h"
#include "platform/Error.h"
#include "processing/verify/OutputVerifier.h"
#include "tests/support/LameSources.h"
#include "tests/support/OutsideTool.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TempFolder.h"

namespace tarvex::verify {
namespace {

using testing::makeLameMp3;
using testing::runOutsideTool;
using testing::TempFolder;

int64_t decodedLength(const QString& path) {
  AudioFile2 reader;
  reader.OpenRead(path);
  return reader.Samples();
}

PlannedOutput pieceOf(const QString& output, const QString& source, int64_t first, int64_t end) {
  return PlannedOutput{output, {PlannedPart{source, first, end}}};
}

struct LameCase {
  const char* name;
  int rate;
  int channels;
  QStringList options;
};

void PrintTo(const LameCase& lame, std::ostream* out) {
  *out << lame.name;
}

class CopiedPieces : public ::testing::TestWithParam<LameCase> {};

// Pieces copied frame by frame, cut inside frames, decode to exactly the
// planned samples of a source whose encoder used its bit reservoir.
TEST_P(CopiedPieces, OurCopiesShowNoOffsetExactLengthAndNoDifference) {
  const LameCase& lame = GetParam();
  TempFolder folder;
  const QString source = makeLameMp3(folder.path(), QStringLiteral("src"), 4.37, lame.rate,
                                     lame.channels, lame.options);
  ASSERT_FALSE(source.isEmpty());
  const int64_t total = decodedLength(source);
  const int64_t first = lame.rate * 1013 / 1000 + 331;  // inside a frame, not on a granule
  const int64_t end = total - lame.rate / 3 - 77;
  const QString piece = folder.path(QStringLiteral("piece.mp3"));
  ASSERT_TRUE(mp3frames::cutMp3Piece(source, first, end, piece, QByteArray()));

  const OutputCheck check = verifyOutput(pieceOf(piece, source, first, end));
  EXPECT_TRUE(check.passed()) << check.problems.join(QLatin1Char('\n')).toStdString();
  EXPECT_EQ(check.decodedLength, end - first);
  EXPECT_EQ(check.plannedLength, end - first);
  ASSERT_EQ(check.parts.size(), 1U);
  const PartCheck& part = check.parts.front();
  EXPECT_EQ(part.startOffset, std::optional<int64_t>(0));
  EXPECT_EQ(part.endOffset, std::optional<int64_t>(0));
  // The decoder's float synthesis may round a copied frame differently.
  EXPECT_LE(part.largestDifference, 1e-6);
  EXPECT_GT(part.comparedSamples, (end - first) * 9 / 10);
  ASSERT_TRUE(check.reencodedFrames.has_value());
  EXPECT_GT(*check.reencodedFrames, 0);  // the frames holding each edge are encoded anew
  EXPECT_LE(*check.reencodedFrames, 6);  // at most three at either edge
  EXPECT_GT(check.outputFrames, 10);
}

INSTANTIATE_TEST_SUITE_P(LameSources, CopiedPieces,
                         ::testing::Values(LameCase{"Cbr128", 44100, 2, {"-b", "128"}},
                                           LameCase{"Vbr2", 44100, 2, {"-V", "2"}},
                                           LameCase{"Mpeg2Abr", 22050, 1, {"--abr", "40"}}),
                         [](const ::testing::TestParamInfo<LameCase>& info) {
                           return std::string(info.param.name);
                         });

class CopiedJoins : public ::testing::TestWithParam<LameCase> {};

// Pieces of one recording joined back meet exactly; files encoded on their
// own are crossfaded over less than a frame, which is no failure of the join.
TEST_P(CopiedJoins, OurJoinsShowNoOffsetAndTheirPlannedSeams) {
  const LameCase& lame = GetParam();
  TempFolder folder;
  const QString source = makeLameMp3(folder.path(), QStringLiteral("src"), 3.71, lame.rate,
                                     lame.channels, lame.options);
  const QString other = makeLameMp3(folder.path(), QStringLiteral("other"), 1.37, lame.rate,
                                    lame.channels, lame.options);
  ASSERT_FALSE(source.isEmpty() || other.isEmpty());
  const int64_t total = decodedLength(source);
  const int64_t cut = lame.rate * 1571 / 1000 + 13;
  const QString one = folder.path(QStringLiteral("one.mp3"));
  const QString two = folder.path(QStringLiteral("two.mp3"));
  ASSERT_TRUE(mp3frames::cutMp3Piece(source, 0, cut, one, QByteArray()));
  ASSERT_TRUE(mp3frames::cutMp3Piece(source, cut, total, two, QByteArray()));
  const QString pieces = folder.path(QStringLiteral("pieces.mp3"));
  const QString files = folder.path(QStringLiteral("files.mp3"));
  ASSERT_TRUE(mp3frames::joinMp3Lossless({one, two}, pieces, QByteArray()));
  ASSERT_TRUE(mp3frames::joinMp3Lossless({source, other}, files, QByteArray()));

  const OutputCheck exact = verifyOutput(
      PlannedOutput{pieces, {PlannedPart{one, 0, cut}, PlannedPart{two, 0, total - cut}}});
  EXPECT_TRUE(exact.passed()) << exact.problems.join(QLatin1Char('\n')).toStdString();
  EXPECT_EQ(exact.decodedLength, total);
  ASSERT_EQ(exact.seams.size(), 1U);
  EXPECT_EQ(exact.seams.front().gap, std::optional<int64_t>(0));
  EXPECT_EQ(exact.seams.front().plannedOverlap, 0);
  for (const PartCheck& part : exact.parts) {
    EXPECT_EQ(part.startOffset, std::optional<int64_t>(0));
    EXPECT_EQ(part.endOffset, std::optional<int64_t>(0));
    EXPECT_LE(part.largestDifference, 1e-6);
  }

  const int64_t otherTotal = decodedLength(other);
  const OutputCheck crossfaded = verifyOutput(
      PlannedOutput{files, {PlannedPart{source, 0, total}, PlannedPart{other, 0, otherTotal}}});
  EXPECT_TRUE(crossfaded.passed()) << crossfaded.problems.join(QLatin1Char('\n')).toStdString();
  ASSERT_EQ(crossfaded.seams.size(), 1U);
  const SeamCheck& seam = crossfaded.seams.front();
  EXPECT_GT(seam.plannedOverlap, 0);
  EXPECT_EQ(seam.gap, std::optional<int64_t>(-seam.plannedOverlap));
  EXPECT_EQ(crossfaded.decodedLength, total + otherTotal - seam.plannedOverlap);
  for (const PartCheck& part : crossfaded.parts) EXPECT_LE(part.largestDifference, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(LameSources, CopiedJoins,
                         ::testing::Values(LameCase{"Vbr2", 44100, 2, {"-V", "2"}},
                                           LameCase{"Mpeg2Vbr", 22050, 2, {"-V", "4"}}),
                         [](const ::testing::TestParamInfo<LameCase>& info) {
                           return std::string(info.param.name);
                         });

// Frames copied one file after the other keep each file's delay and padding
// at the seam: a gap, whatever crossfade a copied join would have planned.
TEST(VerifyOutput, AConcatenatedCopyShowsItsGap) {
  TempFolder folder;
  const QString first =
      makeLameMp3(folder.path(), QStringLiteral("a"), 1.91, 44100, 2, {"-b", "128"});
  const QString second =
      makeLameMp3(folder.path(), QStringLiteral("b"), 1.37, 44100, 2, {"-b", "128"});
  ASSERT_FALSE(first.isEmpty() || second.isEmpty());
  const QString joined = folder.path(QStringLiteral("concat.mp3"));
  runOutsideTool(QStringLiteral("ffmpeg"),
                 {"-v", "error", "-i", QStringLiteral("concat:%1|%2").arg(first, second), "-c",
                  "copy", joined});
  const OutputCheck check =
      verifyOutput(PlannedOutput{joined,
                                 {PlannedPart{first, 0, decodedLength(first)},
                                  PlannedPart{second, 0, decodedLength(second)}}});
  EXPECT_FALSE(check.passed());
  ASSERT_EQ(check.seams.size(), 1U);
  ASSERT_TRUE(check.seams.front().gap.has_value());
  EXPECT_GT(*check.seams.front().gap, 0);
}

// A cutter that copies whole frames from the one before the cut shows the
// audio it carries from before the start as a negative offset.
TEST(VerifyOutput, AFrameEdgeCopyShowsItsOffset) {
  TempFolder folder;
  const QString source =
      makeLameMp3(folder.path(), QStringLiteral("src"), 5.21, 44100, 2, {"-b", "160"});
  ASSERT_FALSE(source.isEmpty());
  const QString piece = folder.path(QStringLiteral("edge.mp3"));
  runOutsideTool(QStringLiteral("ffmpeg"),
                 {"-v", "error", "-ss", "1.337", "-t", "2.5", "-i", source, "-c", "copy", piece});
  const OutputCheck check = verifyOutput(pieceOf(piece, source, 58962, 58962 + 110250));
  EXPECT_FALSE(check.passed());
  ASSERT_EQ(check.parts.size(), 1U);
  ASSERT_TRUE(check.parts.front().startOffset.has_value());
  EXPECT_NE(*check.parts.front().startOffset, 0);
  EXPECT_NE(check.problems.join(QLatin1Char(' ')).indexOf(QStringLiteral("start")), -1);
  // Frames copied bit for bit are found in the source.
  ASSERT_TRUE(check.reencodedFrames.has_value());
  EXPECT_LT(*check.reencodedFrames, check.outputFrames / 2);
}

// A source cut short of the frames its LAME header counts: a copied piece
// running to the end of what remains lines up with it, start and end.
TEST(VerifyOutput, ACopyToTheEndOfASourceCutShortShowsNoOffset) {
  TempFolder folder;
  const QString whole =
      makeLameMp3(folder.path(), QStringLiteral("whole"), 3.2173, 44100, 2, {"-V", "2"});
  ASSERT_FALSE(whole.isEmpty());
  QFile file(whole);
  ASSERT_TRUE(file.resize(file.size() * 11 / 20 + 37));  // ends inside a frame
  const int64_t total = decodedLength(whole);
  const int64_t first = 44100 * 1013 / 1000 + 331;
  const QString piece = folder.path(QStringLiteral("last.mp3"));
  ASSERT_TRUE(mp3frames::cutMp3Piece(whole, first, total, piece, QByteArray()));

  const OutputCheck check = verifyOutput(pieceOf(piece, whole, first, total));
  EXPECT_TRUE(check.passed()) << check.problems.join(QLatin1Char('\n')).toStdString();
  EXPECT_EQ(check.decodedLength, total - first);
  ASSERT_EQ(check.parts.size(), 1U);
  EXPECT_EQ(check.parts.front().startOffset, std::optional<int64_t>(0));
  EXPECT_EQ(check.parts.front().endOffset, std::optional<int64_t>(0));
}

// A whole encode by LAME: every frame is new, yet it lines up exactly.
TEST(VerifyOutput, AReencodedOutputCountsEveryFrameAndStillAlignsExactly) {
  TempFolder folder;
  const QString source =
      makeLameMp3(folder.path(), QStringLiteral("src"), 3.73, 44100, 2, {"-b", "192"});
  ASSERT_FALSE(source.isEmpty());
  const QString output = folder.path(QStringLiteral("again.mp3"));
  runOutsideTool(QStringLiteral("lame"),
                 {"--quiet", "-b", "128", folder.path(QStringLiteral("src.wav")), output});
  const OutputCheck check = verifyOutput(pieceOf(output, source, 0, decodedLength(source)));
  ASSERT_TRUE(check.reencodedFrames.has_value());
  EXPECT_EQ(*check.reencodedFrames, check.outputFrames);
  EXPECT_EQ(check.parts.front().startOffset, std::optional<int64_t>(0));
  EXPECT_EQ(check.parts.front().comparedSamples, 0);
  EXPECT_TRUE(check.passed()) << check.problems.join(QLatin1Char('\n')).toStdString();
}

class JoinedWav : public ::testing::Test {
 protected:
  void SetUp() override {
    runOutsideTool(QStringLiteral("sox"), {"-n", "-r", "44100", "-c", "2", "-b", "16", first_,
                                           "synth", "1.2345", "pinknoise", "vol", "0.5"});
    runOutsideTool(QStringLiteral("sox"), {"-n", "-r", "44100", "-c", "2", "-b", "16", second_,
                                           "synth", "0.9876", "brownnoise", "vol", "0.5"});
  }
  PlannedOutput joinOf(const QString& output) const {
    return PlannedOutput{output,
                         {PlannedPart{first_, 0, decodedLength(first_)},
                          PlannedPart{second_, 0, decodedLength(second_)}}};
  }
  TempFolder folder_;
  QString first_ = folder_.path(QStringLiteral("a.wav"));
  QString second_ = folder_.path(QStringLiteral("b.wav"));
};

TEST_F(JoinedWav, AnExactJoinHasNoGapAndNoDifference) {
  const QString joined = folder_.path(QStringLiteral("ab.wav"));
  runOutsideTool(QStringLiteral("sox"), {first_, second_, joined});
  const OutputCheck check = verifyOutput(joinOf(joined));
  EXPECT_TRUE(check.passed()) << check.problems.join(QLatin1Char('\n')).toStdString();
  EXPECT_FALSE(check.reencodedFrames.has_value());  // not MP3: not applicable
  ASSERT_EQ(check.seams.size(), 1U);
  EXPECT_EQ(check.seams.front().gap, std::optional<int64_t>(0));
  EXPECT_FALSE(check.seams.front().click);
  for (const PartCheck& part : check.parts) EXPECT_EQ(part.largestDifference, 0.0);
}

// Longer than a cut's edge is searched (2304), as a copied seam's gap is.
TEST_F(JoinedWav, SilenceInsertedAtTheSeamIsReportedAsAGapOfItsLength) {
  const QString silence = folder_.path(QStringLiteral("gap.wav"));
  runOutsideTool(QStringLiteral("sox"),
                 {"-r", "44100", "-c", "2", "-n", "-b", "16", silence, "trim", "0", "3000s"});
  const QString joined = folder_.path(QStringLiteral("a-gap-b.wav"));
  runOutsideTool(QStringLiteral("sox"), {first_, silence, second_, joined});
  const OutputCheck check = verifyOutput(joinOf(joined));
  EXPECT_FALSE(check.passed());
  EXPECT_EQ(check.decodedLength, check.plannedLength + 3000);
  ASSERT_EQ(check.seams.size(), 1U);
  EXPECT_EQ(check.seams.front().gap, std::optional<int64_t>(3000));
  EXPECT_EQ(check.parts[1].startOffset, std::optional<int64_t>(-3000));
}

// The samples under a piece's fades are neither aligned nor compared, and
// counted; judged as if unfaded, the same piece fails. A piece wholly under
// a fade is marked so rather than failed.
TEST(VerifyOutput, FadedSamplesAreLeftOutAndCounted) {
  TempFolder folder;
  const QString source =
      makeLameMp3(folder.path(), QStringLiteral("src"), 3.71, 44100, 2, {"-b", "128"});
  ASSERT_FALSE(source.isEmpty());
  const int64_t first = 20011;
  const int64_t end = first + 3 * 44100 + 555;
  mp3frames::PieceFades fades;
  fades.in = 44100;
  fades.out = 44100;
  const QString piece = folder.path(QStringLiteral("faded.mp3"));
  const mp3frames::Mp3FrameSource frames(source);
  ASSERT_TRUE(mp3frames::writeMp3Piece(frames, first, end, piece, QByteArray(), nullptr,
                                       mp3frames::PieceEdges::Reencoded, fades));

  PlannedOutput planned = pieceOf(piece, source, first, end);
  const OutputCheck unfaded = verifyOutput(planned);
  EXPECT_FALSE(unfaded.passed());
  planned.fadeInSeconds = 1;
  planned.fadeOutSeconds = 1;
  const OutputCheck check = verifyOutput(planned);
  EXPECT_TRUE(check.passed()) << check.problems.join(QLatin1Char('\n')).toStdString();
  EXPECT_EQ(check.fadedStart, 44100 + 441 + 1);
  EXPECT_EQ(check.fadedEnd, 44100 + 441 + 1);
  ASSERT_EQ(check.parts.size(), 1u);
  EXPECT_FALSE(check.parts[0].underFade);
  EXPECT_EQ(check.parts[0].startOffset, std::optional<int64_t>(0));
  EXPECT_GT(check.parts[0].comparedSamples, 0);
  EXPECT_LT(check.parts[0].comparedSamples, end - first - 2 * check.fadedStart + 1);

  const QString shortPiece = folder.path(QStringLiteral("short.mp3"));
  mp3frames::PieceFades longFade;
  longFade.in = 44100;
  ASSERT_TRUE(mp3frames::writeMp3Piece(frames, first, first + 22050, shortPiece, QByteArray(),
                                       nullptr, mp3frames::PieceEdges::Reencoded, longFade));
  PlannedOutput whole = pieceOf(shortPiece, source, first, first + 22050);
  whole.fadeInSeconds = 1;
  const OutputCheck faded = verifyOutput(whole);
  EXPECT_TRUE(faded.passed()) << faded.problems.join(QLatin1Char('\n')).toStdString();
  EXPECT_EQ(faded.fadedStart, 22050);
  EXPECT_TRUE(faded.parts[0].underFade);
  EXPECT_EQ(faded.parts[0].comparedSamples, 0);
}

TEST(VerifyOutput, AMissingOutputIsAnErrorNamingIt) {
  TempFolder folder;
  const QString missing = folder.path(QStringLiteral("nothing.mp3"));
  try {
    verifyOutput(pieceOf(missing, missing, 0, 10));
    FAIL() << "no error";
  } catch (const Error& error) {
    EXPECT_NE(error.message().indexOf(QStringLiteral("nothing.mp3")), -1);
  }
}

}  // namespace
}  // namespace tarvex::verify
