#include "OutsideDecoders.h"

#include "components/audio/AudioFile2.h"
#include "components/audio/Mp3LameEncoder.h"
#include "components/audio/mp3frames/Mp3FrameSource.h"
#include "tests/support/GeneratedAudio.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace tarvex::testing {
namespace {

struct EncoderCase {
  const char* name;
  int sampleRate;  // the input's, equal to the output's
  int channels;
  std::function<void(Mp3LameEncoder&)> settings;
};

void PrintTo(const EncoderCase& setting, std::ostream* out) {
  *out << setting.name;
}

Mp3LameEncoder individual(int rate, int channels) {
  Mp3LameEncoder encoder;
  encoder.setVbrHeader(-1);
  encoder.setVbrMethod(-1);
  encoder.setChannels(channels);
  encoder.setStereoMode(2);
  encoder.setQuality(5);
  encoder.setSampleRate(rate);
  return encoder;
}

// Half a second of silence, then half a second of tone: a decoder that drops
// the wrong number of samples at the start shows it at the tone's onset.
int64_t writeOnsetFile(const QString& path, const Mp3LameEncoder& encoder, int rate, int channels) {
  AudioFile2 writer;
  writer.setActive(true);
  writer.SetMp3Encoder(encoder);
  writer.SetPcmFormat(rate, channels);
  writer.CreateWrite(path);
  const int half = rate / 2;
  SampleBlock silence = generateBlock(Signal::Silence, 0, half, rate, channels);
  writer.WriteBlock(silence);
  writer.WriteBlock(generateBlock(Signal::Tone, half, rate - half, rate, channels));
  writer.Close();
  return rate;
}

int64_t onset(const OutsideDecode& decode) {
  for (size_t i = 0; i < decode.samples.size(); ++i)
    if (std::fabs(decode.samples[i]) > 0.1f) return static_cast<int64_t>(i) / decode.channels;
  return -1;
}

class EncodedHeaderTest : public ::testing::TestWithParam<EncoderCase> {
 protected:
  TempFolder folder_;
};

TEST_P(EncodedHeaderTest, EveryPieceDecodesToExactlyTheFramesWritten) {
  const EncoderCase& setting = GetParam();
  Mp3LameEncoder encoder = individual(setting.sampleRate, setting.channels);
  setting.settings(encoder);
  const QString path = folder_.path(QStringLiteral("piece.mp3"));
  const int64_t written = writeOnsetFile(path, encoder, setting.sampleRate, setting.channels);
  const mp3frames::Mp3FrameSource indexed(path);
  ASSERT_TRUE(indexed.infoFrame() && indexed.infoFrame()->lame) << "no LAME header frame";
  for (const bool ffmpeg : {true, false}) {
    const char* decoder = ffmpeg ? "ffmpeg" : "mpg123";
    const OutsideDecode decode = ffmpeg ? decodeWithFfmpeg(path, indexed.channels())
                                        : decodeWithMpg123(path, indexed.channels());
    ASSERT_TRUE(decode.ran) << decoder;
    EXPECT_EQ(decode.frames(), written) << decoder;
    EXPECT_TRUE(decode.warnings.isEmpty()) << decoder << decode.warnings.join(u'\n').toStdString();
    // The tone starts half-way; a lossy codec smears it by a few samples.
    EXPECT_NEAR(static_cast<double>(onset(decode)), setting.sampleRate / 2.0, 48.0) << decoder;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Settings, EncodedHeaderTest,
    ::testing::Values(
        EncoderCase{"preset_phone", 8000, 1, [](Mp3LameEncoder& e) { e.setPreset(1); }},
        EncoderCase{"preset_sw", 11025, 1, [](Mp3LameEncoder& e) { e.setPreset(2); }},
        EncoderCase{"preset_am", 16000, 1, [](Mp3LameEncoder& e) { e.setPreset(3); }},
        EncoderCase{"cbr32_22k_mono", 22050, 1, [](Mp3LameEncoder& e) { e.setBitrate(32); }},
        EncoderCase{"cbr8_8k_mono", 8000, 1, [](Mp3LameEncoder& e) { e.setBitrate(8); }},
        EncoderCase{"cbr24_12k_stereo_crc", 12000, 2,
                    [](Mp3LameEncoder& e) {
                      e.setBitrate(24);
                      e.setCrc(-1);
                    }},
        EncoderCase{"cbr32_32k_mono", 32000, 1, [](Mp3LameEncoder& e) { e.setBitrate(32); }},
        EncoderCase{"abr32_24k_stereo", 24000, 2,
                    [](Mp3LameEncoder& e) { e.setCommandLine(QStringLiteral("--abr 32")); }},
        EncoderCase{"vbr_16k_mono", 16000, 1,
                    [](Mp3LameEncoder& e) {
                      e.setVbrMethod(0);
                      e.setVbrQuality(7);
                      e.setVbrBitrate(8);
                    }},
        EncoderCase{"vbr_44k_stereo", 44100, 2, [](Mp3LameEncoder& e) { e.setVbrMethod(3); }},
        EncoderCase{"cbr320_48k_stereo_crc", 48000, 2,
                    [](Mp3LameEncoder& e) {
                      e.setBitrate(320);
                      e.setCrc(-1);
                    }},
        EncoderCase{"cbr128_44k_stereo", 44100, 2, [](Mp3LameEncoder& e) { e.setBitrate(128); }}),
    [](const ::testing::TestParamInfo<EncoderCase>& info) { return std::string(info.param.name); });

TEST(EncodedHeader, WithTheVbrHeaderOffThereIsNoHeaderFrame) {
  TempFolder folder;
  Mp3LameEncoder encoder = individual(8000, 1);
  encoder.setBitrate(16);
  encoder.setVbrHeader(0);
  const QString path = folder.path(QStringLiteral("plain.mp3"));
  writeOnsetFile(path, encoder, 8000, 1);
  EXPECT_FALSE(mp3frames::Mp3FrameSource(path).infoFrame().has_value());
}

}  // namespace
}  // namespace tarvex::testing
