#include "OutsideDecoders.h"
#include "tests/support/LameSources.h"

#include "components/audio/mp3frames/InfoFrame.h"
#include "components/audio/mp3frames/Mp3FrameSource.h"
#include "components/audio/mp3frames/Mp3LosslessCut.h"
#include "components/audio/mp3frames/MpegCrc16.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace tarvex::testing {
namespace {

using mp3frames::Mp3FrameSource;

struct SourceCase {
  const char* name;
  int sampleRate;
  int channels;
  QStringList lameOptions;
};

void PrintTo(const SourceCase& source, std::ostream* out) {
  *out << source.name;
}

class LosslessCutTest : public ::testing::TestWithParam<SourceCase> {
 protected:
  TempFolder folder_;
};

// Every audio frame that carries a CRC carries the right one.
void expectValidCrcs(const Mp3FrameSource& piece) {
  for (const auto& frame : piece.frames()) {
    const unsigned char* bytes = piece.bytes() + frame.offset;
    const auto header = mp3frames::MpegFrameHeader::decode(mp3frames::readBigEndian32(bytes));
    ASSERT_TRUE(header.has_value());
    if (!header->crcProtected) continue;
    const uint16_t crc = mp3frames::frameCrc(bytes, header->sideInfoBytes());
    EXPECT_EQ(crc, (bytes[4] << 8) | bytes[5]) << "frame at " << frame.offset;
  }
}

TEST_P(LosslessCutTest, PiecesDecodeToExactlyTheirSamplesIdenticalToTheWholeFile) {
  const SourceCase& source = GetParam();
  const QString mp3 = makeLameMp3(folder_.path(), QString::fromLatin1(source.name), 3.0,
                                  source.sampleRate, source.channels, source.lameOptions);
  ASSERT_FALSE(mp3.isEmpty()) << "lame could not make the source";
  const Mp3FrameSource indexed(mp3);
  ASSERT_EQ(indexed.sampleRate(), source.sampleRate);
  const int64_t total = indexed.totalSamples();

  const OutsideDecode wholeFfmpeg = decodeWithFfmpeg(mp3, source.channels);
  const OutsideDecode wholeMpg123 = decodeWithMpg123(mp3, source.channels);
  ASSERT_TRUE(wholeFfmpeg.ran && wholeMpg123.ran);
  ASSERT_EQ(wholeFfmpeg.frames(), total) << "our count of the source differs from ffmpeg's";
  ASSERT_EQ(wholeMpg123.frames(), total) << "our count of the source differs from mpg123's";

  // Cuts inside frames, the first and last at the file's ends.
  const int rate = source.sampleRate;
  const std::vector<int64_t> cuts = {0, rate * 37 / 100 + 17, rate * 121 / 100 + 5,
                                     std::min<int64_t>(total - 1, rate * 23 / 10 + 1001), total};
  int64_t decodedSum = 0;
  float largest[2] = {0.0f, 0.0f};  // ffmpeg, mpg123
  for (size_t i = 0; i + 1 < cuts.size(); ++i) {
    const QString piecePath = folder_.path(QStringLiteral("piece%1.mp3").arg(i));
    ASSERT_TRUE(mp3frames::writeMp3Piece(indexed, cuts[i], cuts[i + 1], piecePath, {}, nullptr,
                                         mp3frames::PieceEdges::Copied));
    const int64_t expected = cuts[i + 1] - cuts[i];
    for (const OutsideDecode* whole : {&wholeFfmpeg, &wholeMpg123}) {
      const bool ffmpeg = whole == &wholeFfmpeg;
      const OutsideDecode piece = ffmpeg ? decodeWithFfmpeg(piecePath, source.channels)
                                         : decodeWithMpg123(piecePath, source.channels);
      const char* decoder = ffmpeg ? "ffmpeg" : "mpg123";
      ASSERT_TRUE(piece.ran) << decoder;
      EXPECT_EQ(piece.frames(), expected) << decoder << " piece " << i;
      EXPECT_TRUE(piece.warnings.isEmpty())
          << decoder << " piece " << i << ": " << piece.warnings.join(u'\n').toStdString();
      // FFmpeg's decoder gives the very same samples. libmpg123's synthesis
      // filter rotates through its buffer frame by frame, so where a piece
      // starts at another point of that rotation its float sums round
      // differently: at most one step of a float's last bit (2^-23) anywhere
      // in the piece. Copying the wrong frames or a broken reservoir shows as
      // differences of whole percent.
      const float allowed = ffmpeg ? 0.0f : 1.0f / (1 << 23);
      const SampleDifference difference = compareRange(piece, *whole, cuts[i]);
      EXPECT_LE(difference.largest, allowed)
          << decoder << " piece " << i << " differs by " << difference.largest << " at frame "
          << difference.atFrame << " of " << expected;
      largest[ffmpeg ? 0 : 1] = std::max(largest[ffmpeg ? 0 : 1], difference.largest);
      if (ffmpeg) decodedSum += piece.frames();
    }
    const Mp3FrameSource written(piecePath);
    EXPECT_EQ(written.frames().front().mainDataBegin, 0) << "piece " << i;
    EXPECT_EQ(written.totalSamples(), expected);
    expectValidCrcs(written);
  }
  EXPECT_EQ(decodedSum, total);
  std::printf("[ lossless ] %s: largest sample difference ffmpeg %g, mpg123 %g\n", source.name,
              largest[0], largest[1]);
}

// Pieces at the edges: single samples at both ends of the file, a piece that
// starts exactly on a frame's first sample, one that starts a sample before.
TEST(LosslessCutEdges, TinyAndFrameAlignedPiecesDecodeExactly) {
  TempFolder folder;
  const QString mp3 = makeLameMp3(folder.path(), QStringLiteral("edges"), 1.0, 44100, 2,
                                  {"-V", "5", "--resample", "44.1"});
  ASSERT_FALSE(mp3.isEmpty());
  const Mp3FrameSource source(mp3);
  const int64_t total = source.totalSamples();
  const int64_t onFrame = 5 * source.samplesPerFrame() - source.startPosition();
  const std::vector<std::pair<int64_t, int64_t>> pieces = {{0, 1},
                                                           {total - 1, total},
                                                           {onFrame, onFrame + 1152},
                                                           {onFrame - 1, onFrame + 1},
                                                           {0, total}};
  const OutsideDecode wholeFfmpeg = decodeWithFfmpeg(mp3, 2);
  const OutsideDecode wholeMpg123 = decodeWithMpg123(mp3, 2);
  int index = 0;
  for (const auto& [first, end] : pieces) {
    const QString path = folder.path(QStringLiteral("edge%1.mp3").arg(index++));
    ASSERT_TRUE(mp3frames::writeMp3Piece(source, first, end, path, {}, nullptr,
                                         mp3frames::PieceEdges::Copied));
    const mp3frames::Mp3PiecePlan plan = mp3frames::planMp3Piece(source, first, end);
    EXPECT_LE(plan.encoderDelay, 4095);
    EXPECT_LE(plan.padding, 4095);
    // FFmpeg's demuxer hands the start trim and the end trim to its decoder
    // in packet side data, and a packet carrying the end trim replaces a
    // start trim not yet used up: a piece that starts and ends inside one
    // frame (under 26 ms here) decodes there to a wrong length. libmpg123
    // trims such pieces exactly.
    const bool withinOneFrame = end - first < source.samplesPerFrame();
    for (const bool ffmpeg : {true, false}) {
      if (ffmpeg && withinOneFrame) continue;
      const OutsideDecode piece = ffmpeg ? decodeWithFfmpeg(path, 2) : decodeWithMpg123(path, 2);
      EXPECT_EQ(piece.frames(), end - first) << (ffmpeg ? "ffmpeg " : "mpg123 ") << first;
      EXPECT_LE(compareRange(piece, ffmpeg ? wholeFfmpeg : wholeMpg123, first).largest,
                ffmpeg ? 0.0f : 1.0f / (1 << 23))
          << first;
    }
  }
}

// The header fields stay in range wherever a piece starts and ends.
TEST(LosslessCutEdges, DelayAndPaddingFitTheirTwelveBitsEverywhere) {
  TempFolder folder;
  for (const int rate : {48000, 22050, 8000}) {
    const QString mp3 = makeLameMp3(
        folder.path(), QStringLiteral("plan%1").arg(rate), 0.5, rate, 1,
        {"-b", rate == 8000 ? "8" : "64", "-m", "m", "--resample", QString::number(rate / 1000.0)});
    ASSERT_FALSE(mp3.isEmpty());
    const Mp3FrameSource source(mp3);
    for (int64_t first = 0; first < source.totalSamples(); first += 37) {
      const int64_t end = std::min(source.totalSamples(), first + 1 + (first * 7) % 3000);
      const mp3frames::Mp3PiecePlan plan = mp3frames::planMp3Piece(source, first, end);
      ASSERT_GE(plan.encoderDelay, 0) << rate << " " << first;
      ASSERT_LE(plan.encoderDelay, 4095) << rate << " " << first;
      ASSERT_GE(plan.padding, Mp3FrameSource::kDecoderDelay) << rate << " " << first;
      ASSERT_LE(plan.padding, 4095) << rate << " " << first;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    LameSources, LosslessCutTest,
    ::testing::Values(
        SourceCase{"cbr128_44k_stereo", 44100, 2, {"-b", "128", "--resample", "44.1"}},
        SourceCase{"vbr_48k_stereo", 48000, 2, {"-V", "2", "--resample", "48"}},
        SourceCase{"abr64_32k_mono", 32000, 1, {"--abr", "64", "-m", "m", "--resample", "32"}},
        SourceCase{"cbr192_44k_crc", 44100, 2, {"-b", "192", "-p", "--resample", "44.1"}},
        SourceCase{"vbr_22k_stereo", 22050, 2, {"-V", "4", "--resample", "22.05"}},
        SourceCase{"cbr32_16k_mono", 16000, 1, {"-b", "32", "-m", "m", "--resample", "16"}},
        SourceCase{"abr40_24k_stereo", 24000, 2, {"--abr", "40", "--resample", "24"}},
        SourceCase{"cbr16_8k_mono_no_tag", 8000, 1, {"-b", "16", "-m", "m", "--resample", "8"}}),
    [](const ::testing::TestParamInfo<SourceCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarvex::testing
