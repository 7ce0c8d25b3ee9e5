#include "AudioTestFolder.h"
#include "Mp3FrameHeaders.h"
#include "components/audio/AudioError.h"
#include "components/audio/AudioFile2.h"
#include "components/audio/Mp3LameEncoder.h"
#include "tests/support/GeneratedAudio.h"

#include <QFile>

#include <functional>
#include <set>

namespace tarvex::testing {
namespace {

class Mp3SettingsTest : public AudioTest {
 protected:
  // Encodes a second of noise (44.1 kHz stereo input) with `encoder` as it
  // stands and scans the frames.
  Mp3Scan encode(const Mp3LameEncoder& encoder, int inputChannels = 2) {
    const QString file = path(QStringLiteral("out%1.mp3").arg(count_++));
    OutputSettings settings;
    settings.mp3 = encoder;
    settings.mp3KeepRateAndChannels = true;
    writeAudioFile(file, Signal::Noise, 44100, 44100, inputChannels, settings);
    return scanMp3File(file);
  }

  // The profile's individual settings with nothing changed.
  static Mp3LameEncoder individual() {
    Mp3LameEncoder encoder;
    encoder.setVbrHeader(-1);
    encoder.setVbrMethod(-1);
    encoder.setChannels(2);
    encoder.setStereoMode(1);
    encoder.setQuality(5);
    encoder.setBitrate(128);
    encoder.setSampleRate(44100);
    return encoder;
  }

  int count_ = 0;
};

TEST_F(Mp3SettingsTest, EverySettingKeepsItsValueUntilSetAgain) {
  Mp3LameEncoder encoder;
  encoder.setBitrate(192);
  encoder.setCrc(-1);
  encoder.setLowpassFreq(15000);
  encoder.setCommandLine(QStringLiteral("-q 2"));
  encoder.setQuality(3);
  EXPECT_EQ(encoder.bitrate(), 192);
  EXPECT_EQ(encoder.crc(), -1);
  EXPECT_EQ(encoder.lowpassFreq(), 15000);
  EXPECT_EQ(encoder.quality(), 3);
  EXPECT_EQ(encoder.commandLine(), QStringLiteral("-q 2"));
  encoder.setPreset(8);
  EXPECT_TRUE(encoder.presetInForce());
  EXPECT_EQ(encoder.bitrate(), 192);
  encoder.setVbrHeader(-1);
  EXPECT_FALSE(encoder.presetInForce());
  EXPECT_EQ(encoder.preset(), 8);
}

TEST_F(Mp3SettingsTest, CbrBitrateSampleRateAndModeReachTheFrames) {
  struct Case {
    int bitrate, rate, channels, stereoMode, expectedMode;
  };
  for (const Case c : {Case{192, 44100, 2, 1, 0}, Case{64, 22050, 1, 1, 3}, Case{32, 11025, 2, 4, 2},
                       Case{160, 48000, 2, 2, 1}, Case{128, 32000, 2, 3, 1}}) {
    Mp3LameEncoder encoder = individual();
    encoder.setBitrate(c.bitrate);
    encoder.setSampleRate(c.rate);
    encoder.setChannels(c.channels);
    encoder.setStereoMode(c.stereoMode);
    const Mp3Scan scan = encode(encoder);
    const auto frames = scan.audioFrames();
    ASSERT_GT(frames.size(), 10u);
    std::set<int> modeExtensions;
    for (const auto& frame : frames) {
      ASSERT_EQ(frame.bitrateKbps, c.bitrate);
      ASSERT_EQ(frame.sampleRate, c.rate);
      ASSERT_EQ(frame.mode, c.expectedMode) << "stereo mode " << c.stereoMode;
      modeExtensions.insert(frame.modeExtension);
    }
    if (c.stereoMode == 3) {
      // Forced mid/side: every joint-stereo frame uses mid/side coding.
      for (int extension : modeExtensions) EXPECT_TRUE(extension & 2);
    }
  }
}

TEST_F(Mp3SettingsTest, VbrMethodsGiveVaryingBitratesAndAXingHeader) {
  for (const int method : {0, 1, 2, 3}) {
    Mp3LameEncoder encoder = individual();
    encoder.setVbrMethod(method);
    encoder.setVbrQuality(2);
    encoder.setVbrBitrate(32);
    const QString file = path(QStringLiteral("vbr%1.mp3").arg(method));
    OutputSettings settings;
    settings.mp3 = encoder;
    settings.mp3KeepRateAndChannels = true;
    // Silence then noise: a VBR encoder must use different bitrates.
    AudioFile2 writer;
    writer.SetMp3Encoder(encoder);
    writer.SetPcmFormat(44100, 2);
    writer.CreateWrite(file, 0);
    writer.WriteBlock(generateBlock(Signal::Silence, 0, 22050, 44100, 2));
    writer.WriteBlock(generateBlock(Signal::Noise, 22050, 22050, 44100, 2));
    writer.Close();
    const Mp3Scan scan = scanMp3File(file);
    EXPECT_TRUE(scan.xingSaysVbr) << method;
    EXPECT_FALSE(scan.allBitratesEqual()) << method;
  }
}

TEST_F(Mp3SettingsTest, VbrHeaderPresentOnlyWhenOn) {
  Mp3LameEncoder encoder = individual();
  Mp3Scan scan = encode(encoder);
  EXPECT_TRUE(scan.hasXingHeader);
  EXPECT_FALSE(scan.xingSaysVbr);  // CBR: an "Info" header
  EXPECT_TRUE(scan.hasLameTag);
  EXPECT_TRUE(scan.allBitratesEqual());
  encoder.setVbrHeader(0);
  scan = encode(encoder);
  EXPECT_FALSE(scan.hasXingHeader);
}

TEST_F(Mp3SettingsTest, CrcAndDeEmphasisReachTheFrames) {
  Mp3LameEncoder encoder = individual();
  EXPECT_FALSE(encode(encoder).audioFrames().front().crc);
  encoder.setCrc(-1);
  encoder.setDeEmphasis(2);
  const Mp3Scan scan = encode(encoder);
  for (const auto& frame : scan.audioFrames()) {
    ASSERT_TRUE(frame.crc);
    ASSERT_EQ(frame.emphasis, 3);  // CCITT J.17
  }
  encoder.setDeEmphasis(1);
  EXPECT_EQ(encode(encoder).audioFrames().front().emphasis, 1);
}

TEST_F(Mp3SettingsTest, MonoInputCanBeEncodedAsStereoAndStereoAsMono) {
  Mp3LameEncoder encoder = individual();
  EXPECT_EQ(encode(encoder, 1).audioFrames().front().mode, 0);
  encoder.setChannels(1);
  EXPECT_EQ(encode(encoder, 2).audioFrames().front().mode, 3);
}

TEST_F(Mp3SettingsTest, QualityAndExpertSwitchesChangeTheEncoding) {
  // These settings leave no mark of their own in the headers; each must at
  // least change the encoded bytes.
  const Mp3LameEncoder base = individual();
  const QString baseFile = path(QStringLiteral("base.mp3"));
  OutputSettings settings;
  settings.mp3KeepRateAndChannels = true;
  settings.mp3 = base;
  writeAudioFile(baseFile, Signal::Noise, 44100, 44100, 2, settings);
  QFile f(baseFile);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray baseBytes = f.readAll();
  const std::vector<std::pair<const char*, std::function<void(Mp3LameEncoder&)>>> changes = {
      {"quality", [](Mp3LameEncoder& e) { e.setQuality(9); }},
      {"bit reservoir", [](Mp3LameEncoder& e) { e.setBitReservoir(0); }},
      {"ATH only", [](Mp3LameEncoder& e) { e.setAth(1); }},
      {"low-pass", [](Mp3LameEncoder& e) { e.setLowpassFreq(5000); }},
      {"high-pass", [](Mp3LameEncoder& e) { e.setHighpassFreq(2000); }},
      {"short blocks", [](Mp3LameEncoder& e) { e.setShortBlocks(0); }},
  };
  for (const auto& [name, change] : changes) {
    Mp3LameEncoder encoder = base;
    change(encoder);
    settings.mp3 = encoder;
    const QString file = path(QStringLiteral("x%1.mp3").arg(count_++));
    writeAudioFile(file, Signal::Noise, 44100, 44100, 2, settings);
    QFile g(file);
    ASSERT_TRUE(g.open(QIODevice::ReadOnly));
    EXPECT_NE(g.readAll(), baseBytes) << name;
  }
}

TEST_F(Mp3SettingsTest, PresetsDecideTheEncodingAndIndividualSettingsEndThem) {
  Mp3LameEncoder encoder = individual();
  encoder.setPreset(1);  // Phone: 16 kbit/s mono at 8 kHz
  auto frame = encode(encoder).audioFrames().front();
  EXPECT_EQ(frame.sampleRate, 8000);
  EXPECT_EQ(frame.bitrateKbps, 16);
  EXPECT_EQ(frame.mode, 3);
  encoder.setAltPreset(5);  // insane: 320 kbit/s CBR, after the preset
  frame = encode(encoder).audioFrames().front();
  EXPECT_EQ(frame.bitrateKbps, 320);
  encoder.setBitrate(96);  // back to the individual settings
  frame = encode(encoder).audioFrames().front();
  EXPECT_EQ(frame.bitrateKbps, 96);
  EXPECT_EQ(frame.sampleRate, 44100);
  encoder.setAltPreset(2);  // standard: VBR
  EXPECT_TRUE(encode(encoder).xingSaysVbr);
}

TEST_F(Mp3SettingsTest, CommandLineAppliesOnTopOfTheSettings) {
  Mp3LameEncoder encoder = individual();
  encoder.setCommandLine(QStringLiteral("-b 64 -m m --resample 22.05 -p -t"));
  Mp3Scan scan = encode(encoder);
  EXPECT_FALSE(scan.hasXingHeader);
  for (const auto& frame : scan.frames) {
    ASSERT_EQ(frame.bitrateKbps, 64);
    ASSERT_EQ(frame.mode, 3);
    ASSERT_EQ(frame.sampleRate, 22050);
    ASSERT_TRUE(frame.crc);
  }
  encoder.setCommandLine(QStringLiteral("-V 2 --vbr-new -q 0"));
  scan = encode(encoder);
  EXPECT_TRUE(scan.xingSaysVbr);
  encoder.setCommandLine(QStringLiteral("--abr 96 -h"));
  EXPECT_FALSE(encode(encoder).allBitratesEqual());
  encoder.setCommandLine(QStringLiteral("--preset cbr 112 -m j"));
  scan = encode(encoder);
  EXPECT_EQ(scan.audioFrames().front().bitrateKbps, 112);
  EXPECT_EQ(scan.audioFrames().front().mode, 1);
}

TEST_F(Mp3SettingsTest, ValidateCommandLineNamesTheFirstOptionItCannotTake) {
  EXPECT_NO_THROW(Mp3LameEncoder::validateCommandLine(
      QStringLiteral("-b 128 -B 256 -V 4 -q 3 -m j -h -f --preset fast standard --abr 128 --cbr "
                     "--vbr-old --vbr-new --resample 44.1 --lowpass 16 --highpass 0.1 --nores "
                     "--strictly-enforce-ISO -p -F -t -a")));
  EXPECT_NO_THROW(Mp3LameEncoder::validateCommandLine(QString()));
  const std::vector<std::pair<QString, QString>> bad = {
      {QStringLiteral("-b 128 --bogus -x"), QStringLiteral("\"--bogus\"")},
      {QStringLiteral("-b"), QStringLiteral("\"-b\"")},
      {QStringLiteral("-q ten"), QStringLiteral("\"-q\"")},
      {QStringLiteral("-m q"), QStringLiteral("\"-m\"")},
      {QStringLiteral("--resample 23"), QStringLiteral("\"--resample\"")},
      {QStringLiteral("--preset loud"), QStringLiteral("\"--preset\"")},
      {QStringLiteral("--decode"), QStringLiteral("\"--decode\"")},
  };
  for (const auto& [line, named] : bad) {
    try {
      Mp3LameEncoder::validateCommandLine(line);
      ADD_FAILURE() << line.toStdString();
    } catch (const AudioError& error) {
      EXPECT_TRUE(error.message().contains(named)) << error.what();
    }
  }
}

TEST_F(Mp3SettingsTest, ABadCommandLineFailsCreateWriteWithoutLeavingTheWriterOpen) {
  Mp3LameEncoder encoder = individual();
  encoder.setCommandLine(QStringLiteral("--bogus"));
  AudioFile2 writer;
  writer.SetMp3Encoder(encoder);
  EXPECT_THROW(writer.CreateWrite(path(QStringLiteral("bad.mp3")), 0), AudioError);
  EXPECT_FALSE(writer.IsOpen());
}

}  // namespace
}  // namespace tarvex::testing
