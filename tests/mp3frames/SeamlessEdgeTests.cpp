#include "FrameWindows.h"
#include "OutsideDecoders.h"
#include "tests/support/LameSources.h"

#include "components/audio/mp3frames/EdgeEncoder.h"
#include "components/audio/mp3frames/Mp3FrameSource.h"
#include "components/audio/mp3frames/Mp3LosslessCut.h"
#include "components/audio/mp3frames/SeamlessPiece.h"
#include "tests/support/OutsideTool.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tarvex::testing {
namespace {

using mp3frames::Mp3FrameSource;
using mp3frames::PieceEdges;
using mp3frames::SeamlessPiecePlan;

struct EdgeSource {
  const char* name;
  int sampleRate;
  int channels;
  QStringList lameOptions;
};

void PrintTo(const EdgeSource& source, std::ostream* out) {
  *out << source.name;
}

// What an outside player that ignores the LAME header hears of `path`
// before and after the piece, against the piece's own first and last 0.1 s.
struct EdgeLevels {
  double leadIn = 0.0;  // dB under the piece's first 0.1 s
  double tail = 0.0;    // dB under its last 0.1 s
};

EdgeLevels edgeLevels(const QString& path, int channels) {
  const Mp3FrameSource written(path);
  const OutsideDecode raw = decodeWithMpg123(path, channels, false);
  EXPECT_TRUE(raw.ran);
  const int64_t tenth = written.sampleRate() / 10;
  const int64_t start = written.startPosition();
  const int64_t end = written.endPosition();
  EdgeLevels levels;
  levels.leadIn = levelDb(raw, start, start + tenth) - levelDb(raw, 0, start);
  levels.tail = levelDb(raw, end - tenth, end) - levelDb(raw, end, raw.frames());
  return levels;
}

class SeamlessEdgeTest : public ::testing::TestWithParam<EdgeSource> {
 protected:
  // The parameter's source, `seconds` long (empty when lame failed).
  QString makeSource(double seconds) {
    const EdgeSource& param = GetParam();
    return makeLameMp3(folder_.path(), QString::fromLatin1(param.name), seconds, param.sampleRate,
                       param.channels, param.lameOptions);
  }

  TempFolder folder_;
};

TEST_P(SeamlessEdgeTest, PiecesCopyTheirMiddleExactlyAndHoldNoNeighbourAtTheirEdges) {
  const EdgeSource& param = GetParam();
  const QString mp3 = makeSource(2.6137);
  ASSERT_FALSE(mp3.isEmpty()) << "lame could not make the source";
  const Mp3FrameSource source(mp3);
  const int64_t total = source.totalSamples();
  const int perFrame = source.samplesPerFrame();
  const OutsideDecode wholeFfmpeg = decodeWithFfmpeg(mp3, param.channels);
  const OutsideDecode wholeMpg123 = decodeWithMpg123(mp3, param.channels);
  ASSERT_EQ(wholeFfmpeg.frames(), total);
  ASSERT_EQ(wholeMpg123.frames(), total);
  // The copied frames lean on the bit reservoir across every cut.
  EXPECT_TRUE(std::any_of(source.frames().begin(), source.frames().end(), [](const auto& frame) {
    return frame.mainDataBegin > 0;
  })) << "the source uses no bit reservoir";

  const int rate = param.sampleRate;
  const std::vector<int64_t> cuts = {0, rate * 41 / 100 + 17, rate * 127 / 100 + 5,
                                     rate * 219 / 100 + 1001, total};
  // One encoder for every edge, as a worker keeps it across its pieces.
  mp3frames::EdgeEncoder edgeEncoder;
  for (size_t i = 0; i + 1 < cuts.size(); ++i) {
    const int64_t first = cuts[i];
    const int64_t end = cuts[i + 1];
    const QString path = folder_.path(QStringLiteral("piece%1.mp3").arg(i));
    SeamlessPiecePlan plan;
    ASSERT_TRUE(mp3frames::writeMp3Piece(source, first, end, path, {}, nullptr,
                                         PieceEdges::Reencoded, {}, &edgeEncoder, &plan));
    ASSERT_TRUE(plan.copies) << "piece " << i;
    EXPECT_LE(plan.leadFrames, 3) << "piece " << i;
    EXPECT_LE(plan.tailFrames, 3) << "piece " << i;

    // Outside the encoded frames, the granule beside them and the reach of
    // the decoders' synthesis filter (15 slots of 32 samples) into the next,
    // the decoders give the whole file's samples.
    const int64_t shift = source.startPosition() + first;  // raw position of the piece's start
    const int64_t from =
        plan.copiedStart ? 0 : static_cast<int64_t>(plan.firstFrame) * perFrame + 576 + 481 - shift;
    const int64_t to =
        end == total ? end - first : static_cast<int64_t>(plan.lastFrame + 1) * perFrame - shift;
    ASSERT_LT(from, to) << "piece " << i;
    for (const bool ffmpeg : {true, false}) {
      const OutsideDecode piece =
          ffmpeg ? decodeWithFfmpeg(path, param.channels) : decodeWithMpg123(path, param.channels);
      const char* decoder = ffmpeg ? "ffmpeg" : "mpg123";
      ASSERT_TRUE(piece.ran) << decoder;
      EXPECT_EQ(piece.frames(), end - first) << decoder << " piece " << i;
      EXPECT_TRUE(piece.warnings.isEmpty())
          << decoder << " piece " << i << ": " << piece.warnings.join(u'\n').toStdString();
      // libmpg123's synthesis rotates its buffer frame by frame: float sums
      // may round one step of the last bit apart where the rotation differs.
      EXPECT_LE(largestDifference(piece, ffmpeg ? wholeFfmpeg : wholeMpg123, first, from, to),
                ffmpeg ? 0.0f : 1.0f / (1 << 23))
          << decoder << " piece " << i << " over " << from << ".." << to;
      if (!ffmpeg) continue;
      // Where the encoded frames meet the copied ones the audio stays the
      // source's (a window that does not meet its neighbour's leaves a
      // burst of error); only near the cut itself may it stray.
      const std::vector<std::pair<int64_t, int64_t>> encoded = {
          {first > 0 ? 576 : from, from}, {to, end < total ? end - first - 576 : to}};
      for (const auto& [encodedFrom, encodedTo] : encoded) {
        if (encodedFrom >= encodedTo) continue;
        EXPECT_LE(differenceLevelDb(piece, wholeFfmpeg, first, encodedFrom, encodedTo),
                  levelDb(piece, encodedFrom, encodedTo) - 15.0)
            << "piece " << i << " over " << encodedFrom << ".." << encodedTo;
      }
    }

    const Mp3FrameSource written(path);
    const size_t before = static_cast<size_t>(plan.leadFrames) + (plan.silentFrame ? 1 : 0);
    const size_t copied = plan.lastFrame - plan.firstFrame + 1;
    ASSERT_EQ(written.frames().size(), before + copied + plan.tailFrames) << "piece " << i;
    EXPECT_EQ(written.frames().front().mainDataBegin, 0);
    for (size_t k = 0; k < copied; ++k)
      ASSERT_EQ(written.mainData(before + k), source.mainData(plan.firstFrame + k))
          << "piece " << i << " copied frame " << k;
    EXPECT_EQ(firstWindowMismatch(written), std::nullopt) << "piece " << i;

    const EdgeLevels levels = edgeLevels(path, param.channels);
    if (first > 0) {
      EXPECT_GE(levels.leadIn, 20.0) << "piece " << i;
    }
    if (end < total) {
      EXPECT_GE(levels.tail, 20.0) << "piece " << i;
    }
    std::printf(
        "[ seamless ] %s piece %zu: %d+%zu+%d frames, lead-in %.1f dB, tail %.1f dB under\n",
        param.name, i, plan.leadFrames, copied, plan.tailFrames, levels.leadIn, levels.tail);
  }
}

// The measure above catches the neighbour: a piece whose edges are copied
// carries it at nearly the piece's own level.
TEST_P(SeamlessEdgeTest, CopiedEdgesCarryTheNeighbourAudio) {
  const EdgeSource& param = GetParam();
  const QString mp3 = makeSource(1.5137);
  ASSERT_FALSE(mp3.isEmpty());
  const Mp3FrameSource source(mp3);
  const int64_t first = param.sampleRate / 3 + 211;
  const int64_t end = param.sampleRate + 97;
  const QString path = folder_.path(QStringLiteral("copied.mp3"));
  ASSERT_TRUE(mp3frames::writeMp3Piece(source, first, end, path, {}, nullptr, PieceEdges::Copied));
  const EdgeLevels levels = edgeLevels(path, param.channels);
  EXPECT_LT(levels.leadIn, 10.0);
  EXPECT_LT(levels.tail, 10.0);
}

// Pieces too short to copy a frame are encoded whole; pieces that start on a
// frame's first sample or a sample before it still decode exactly.
TEST_P(SeamlessEdgeTest, ShortAndFrameAlignedPiecesDecodeToTheirLength) {
  const EdgeSource& param = GetParam();
  const QString mp3 = makeSource(1.2113);
  ASSERT_FALSE(mp3.isEmpty());
  const Mp3FrameSource source(mp3);
  const int perFrame = source.samplesPerFrame();
  const int64_t onFrame = 8 * perFrame - source.startPosition();
  const std::vector<std::pair<int64_t, int64_t>> pieces = {
      {onFrame - 700, onFrame + 300},
      {onFrame + 1, onFrame + 2},
      {onFrame, onFrame + 4 * perFrame},
      {onFrame - 1, onFrame + 3 * perFrame + 1}};
  int index = 0;
  for (const auto& [first, end] : pieces) {
    const QString path = folder_.path(QStringLiteral("short%1.mp3").arg(index++));
    ASSERT_TRUE(mp3frames::writeMp3Piece(source, first, end, path, {}));
    const OutsideDecode piece = decodeWithMpg123(path, param.channels);
    EXPECT_EQ(piece.frames(), end - first) << first << ".." << end;
    EXPECT_TRUE(piece.warnings.isEmpty()) << piece.warnings.join(u'\n').toStdString();
    if (end - first >= perFrame) {
      EXPECT_EQ(decodeWithFfmpeg(path, param.channels).frames(), end - first) << first;
    }
    EXPECT_EQ(Mp3FrameSource(path).totalSamples(), end - first);
  }
}

INSTANTIATE_TEST_SUITE_P(
    LameSources, SeamlessEdgeTest,
    ::testing::Values(
        EdgeSource{"cbr128_44k", 44100, 2, {"-b", "128", "--resample", "44.1"}},
        EdgeSource{"vbr_v2_48k", 48000, 2, {"-V", "2", "--resample", "48"}},
        EdgeSource{"vbr_22k_mpeg2", 22050, 2, {"-V", "4", "--resample", "22.05"}},
        EdgeSource{"cbr32_11k_mono", 11025, 1, {"-b", "32", "-m", "m", "--resample", "11.025"}},
        EdgeSource{"cbr192_44k_crc", 44100, 2, {"-b", "192", "-p", "--resample", "44.1"}},
        EdgeSource{"cbr16_8k_mono_no_tag", 8000, 1, {"-b", "16", "-m", "m", "--resample", "8"}},
        EdgeSource{"abr112_44k", 44100, 2, {"--abr", "112", "--resample", "44.1"}},
        EdgeSource{"vbr_8k_mpeg25", 8000, 2, {"-V", "3", "--resample", "8"}}),
    [](const ::testing::TestParamInfo<EdgeSource>& info) { return std::string(info.param.name); });

// A fade is encoded with the frames it reaches; the rest stays copied. An
// 8 s piece with a 0.5 s fade-in (the share of a 2 s fade on a 60 s piece
// doubled) keeps at least 90 % of its frames copied.
TEST(SeamlessFades, AFadeInReencodesOnlyTheFramesItReaches) {
  TempFolder folder;
  const QString mp3 =
      makeLameMp3(folder.path(), QStringLiteral("long"), 9.3137, 44100, 2, {"-V", "2"});
  ASSERT_FALSE(mp3.isEmpty());
  const Mp3FrameSource source(mp3);
  const int64_t first = 31367;
  const int64_t end = first + 8 * 44100;
  mp3frames::PieceFades fades;
  fades.in = 44100 / 2;
  const QString path = folder.path(QStringLiteral("faded.mp3"));
  SeamlessPiecePlan plan;
  ASSERT_TRUE(mp3frames::writeMp3Piece(source, first, end, path, {}, nullptr, PieceEdges::Reencoded,
                                       fades, nullptr, &plan));
  const Mp3FrameSource written(path);
  const size_t copied = plan.lastFrame - plan.firstFrame + 1;
  EXPECT_GE(static_cast<double>(copied), 0.9 * static_cast<double>(written.frames().size()));
  std::printf("[ seamless ] 0.5 s fade-in on 8 s: %zu of %zu frames copied\n", copied,
              written.frames().size());

  const OutsideDecode whole = decodeWithFfmpeg(mp3, 2);
  const OutsideDecode piece = decodeWithFfmpeg(path, 2);
  ASSERT_EQ(piece.frames(), end - first);
  // Faded from silence, full level after the fade, the source's own samples
  // past the encoded frames.
  const double full = levelDb(piece, fades.in, fades.in + 4410);
  EXPECT_LT(levelDb(piece, 0, 441), full - 30.0);
  EXPECT_NEAR(levelDb(piece, fades.in / 2 - 2205, fades.in / 2 + 2205), full - 6.0, 2.0);
  const int64_t copiedFrom = static_cast<int64_t>(plan.firstFrame) * source.samplesPerFrame() +
                             576 + 481 - source.startPosition() - first;
  const int64_t copiedTo = static_cast<int64_t>(plan.lastFrame + 1) * source.samplesPerFrame() -
                           source.startPosition() - first;
  EXPECT_EQ(largestDifference(piece, whole, first, copiedFrom, copiedTo), 0.0f);
}

// The encoded edges keep the band the source's encoder kept (its LAME tag
// notes it), a tone near its top included: the frames beside the copied
// ones must not lose what the copied ones hold.
TEST(SeamlessBand, EncodedEdgesKeepATopToneTheSourceHolds) {
  TempFolder folder;
  const QString wav = folder.path(QStringLiteral("high.wav"));
  const QString mp3 = folder.path(QStringLiteral("high.mp3"));
  runOutsideTool(QStringLiteral("sox"), {"-n", "-r", "44100", "-c", "2", "-b", "16", wav, "synth",
                                         "1.7137", "sine", "440", "sine", "17900", "vol", "0.4"});
  runOutsideTool(QStringLiteral("lame"), {"--quiet", "-V", "2", wav, mp3});
  const Mp3FrameSource source(mp3);
  ASSERT_GT(source.lowpassHz(), 17900);
  const int64_t first = 20011;
  const int64_t end = 61237;
  const QString path = folder.path(QStringLiteral("piece.mp3"));
  SeamlessPiecePlan plan;
  ASSERT_TRUE(mp3frames::writeMp3Piece(source, first, end, path, {}, nullptr, PieceEdges::Reencoded,
                                       {}, nullptr, &plan));
  const OutsideDecode whole = decodeWithFfmpeg(mp3, 2);
  const OutsideDecode piece = decodeWithFfmpeg(path, 2);
  ASSERT_TRUE(whole.ran && piece.ran);
  const int perFrame = source.samplesPerFrame();
  // The encoded frames away from the cut's own sudden start and stop.
  const int64_t headTo =
      plan.leadFrames * int64_t{perFrame} - plan.encoderDelay - Mp3FrameSource::kDecoderDelay;
  const int64_t tailFrom = end - first - plan.tailFrames * int64_t{perFrame} + 576;
  for (const auto& [from, to] :
       {std::pair<int64_t, int64_t>{576, headTo}, {tailFrom, end - first - 576}}) {
    ASSERT_LT(from, to);
    EXPECT_LE(differenceLevelDb(piece, whole, first, from, to), levelDb(piece, from, to) - 15.0)
        << from << ".." << to;
  }
}

// The header fields stay in range and no edge encodes more than three
// frames, wherever a piece starts and ends.
TEST(SeamlessPlan, DelayPaddingAndEncodedFramesStayInRangeEverywhere) {
  TempFolder folder;
  for (const int rate : {48000, 22050, 8000}) {
    const QString mp3 = makeLameMp3(
        folder.path(), QStringLiteral("plan%1").arg(rate), 0.5, rate, 1,
        {"-b", rate == 8000 ? "8" : "64", "-m", "m", "--resample", QString::number(rate / 1000.0)});
    ASSERT_FALSE(mp3.isEmpty());
    const Mp3FrameSource source(mp3);
    for (int64_t first = 0; first < source.totalSamples(); first += 37) {
      const int64_t end = std::min(source.totalSamples(), first + 1 + (first * 7) % 3000);
      const SeamlessPiecePlan plan = mp3frames::planSeamlessPiece(source, first, end);
      ASSERT_GE(plan.encoderDelay, 0) << rate << " " << first;
      ASSERT_LE(plan.encoderDelay, 4095) << rate << " " << first;
      ASSERT_GE(plan.padding, Mp3FrameSource::kDecoderDelay) << rate << " " << first;
      ASSERT_LE(plan.padding, 4095) << rate << " " << first;
      if (plan.copies) {
        ASSERT_LE(plan.leadFrames, 3) << rate << " " << first;
        ASSERT_LE(plan.tailFrames, 3) << rate << " " << first;
      }
    }
  }
}

}  // namespace
}  // namespace tarvex::testing
