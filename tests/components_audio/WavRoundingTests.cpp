// WAV pieces hold the integers nearest to the decoded values, and a PCM
// source passes through bit-exact; ffmpeg reads the pieces back.
#include <cmath>
#include <cstdint>
#include <numeric>

#include "components/audio/AudioFile2.h"
#include "components/audio/WavFileEncoder.h"
#include "tests/components_audio/AudioTestFolder.h"
#include "tests/support/GeneratedAudio.h"
#include "tests/support/OutsideTool.h"

namespace tarvex {
namespace {

using testing::ffmpegSamplesS32;
using testing::runOutsideTool;

class WavRoundingTest : public testing::AudioTest {
 protected:
  // Reads `frames` frames from `first` of `source` and writes them as a
  // WAV piece of `bits` bits at the source's own format.
  QString writePiece(const QString& source, int64_t first, int frames, int bits) {
    AudioFile2 reader;
    reader.OpenRead(source);
    reader.Seek(first);
    const QString piece = path(QStringLiteral("piece%1.wav").arg(bits));
    AudioFile2 writer;
    writer.SetWavFormat(reader.SampleRate(), reader.Channels(), bits);
    writer.CreateWrite(piece);
    writer.WriteBlock(reader.ReadBlock(frames));
    writer.Close();
    return piece;
  }
};

TEST_F(WavRoundingTest, PcmSourcesComeOutBitExactAtTheirOwnWidth) {
  for (const int bits : {8, 16, 24}) {
    const QString source = path(QStringLiteral("noise%1.wav").arg(bits));
    runOutsideTool("sox", {"-n", "-r", "44100", "-c", "2", "-b", QString::number(bits), source,
                           "synth", "0.5", "whitenoise", "vol", "0.9"});
    const std::vector<int32_t> original = ffmpegSamplesS32(source);
    constexpr int64_t kFirst = 1000;
    constexpr int kFrames = 15000;
    const std::vector<int32_t> piece = ffmpegSamplesS32(writePiece(source, kFirst, kFrames, bits));
    ASSERT_EQ(piece.size(), size_t{kFrames} * 2) << bits;
    const std::vector<int32_t> expected(original.begin() + kFirst * 2,
                                        original.begin() + (kFirst + kFrames) * 2);
    EXPECT_TRUE(piece == expected) << bits << "-bit samples changed on the way through";
  }
}

TEST_F(WavRoundingTest, DecodedMp3RoundsToTheNearestIntegerWithoutOffset) {
  const QString wav = path("tone.wav");
  const QString mp3 = path("tone.mp3");
  runOutsideTool("sox",
                 {"-n", "-r", "44100", "-c", "2", wav, "synth", "1", "sine", "440", "sine", "660"});
  runOutsideTool("lame", {"--quiet", "-b", "128", wav, mp3});
  const std::vector<float> decoded = testing::decodeFile(mp3);
  const int frames = static_cast<int>(decoded.size() / 2);
  ASSERT_GT(frames, 40000);

  for (const int bits : {8, 16, 24}) {
    const std::vector<int32_t> piece = ffmpegSamplesS32(writePiece(mp3, 0, frames, bits));
    ASSERT_EQ(piece.size(), decoded.size()) << bits;
    const double scale = std::ldexp(1.0, bits - 1);
    double sum = 0;
    double largest = 0;
    for (size_t i = 0; i < piece.size(); ++i) {
      const double written = static_cast<double>(piece[i] >> (32 - bits));
      const double error = written - static_cast<double>(decoded[i]) * scale;
      sum += error;
      largest = std::max(largest, std::abs(error));
    }
    EXPECT_NEAR(sum / static_cast<double>(piece.size()), 0.0, 0.02) << bits << "-bit DC offset";
    EXPECT_LE(largest, 0.5 + 1e-6) << bits << "-bit values are not the nearest integers";
  }
}

TEST(PcmInteger, RoundsClipsAndIgnoresNaN) {
  EXPECT_EQ(pcmInteger(0.25f / 32768.0f, 16), 0);
  EXPECT_EQ(pcmInteger(0.75f / 32768.0f, 16), 1);
  EXPECT_EQ(pcmInteger(-0.75f / 32768.0f, 16), -1);
  EXPECT_EQ(pcmInteger(1.0f, 16), 32767);
  EXPECT_EQ(pcmInteger(-1.5f, 16), -32768);
  EXPECT_EQ(pcmInteger(1.0f, 8), 127);
  EXPECT_EQ(pcmInteger(-1.0f, 24), -8388608);
  EXPECT_EQ(pcmInteger(2.0f, 32), INT32_MAX);
  EXPECT_EQ(pcmInteger(std::nanf(""), 16), 0);
}

}  // namespace
}  // namespace tarvex
