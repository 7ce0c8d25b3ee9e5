#include <gtest/gtest.h>

#include "components/audio/AudioFile2.h"
#include "components/audio/Mp3LameEncoder.h"
#include "config/SettingsFile.h"
#include "processing/EncoderProfile.h"
#include "tests/support/TempFolder.h"

namespace tarvex::testing {
namespace {

class EncoderProfileTest : public ::testing::Test {
 protected:
  EncoderProfileTest() : settings(folder.path("Quillmere.ini")) {}
  void store(const QString& text) { writeText(folder.path("Quillmere.ini"), text); }
  EncoderProfile load(int index, const QString& commandLine = QString()) {
    return LoadEncoderProfile(settings, index, commandLine);
  }

  TempFolder folder;
  SettingsFile settings;
  AudioFile2 writer;
  Mp3LameEncoder encoder;
};

TEST_F(EncoderProfileTest, EachFormatsProfileIsOneReadOfTheFile) {
  store("[mp3]\nbitrate=12\nquality=2\n[MP3VBR]\nvbr quality=1\n[ogg]\nquality=450\n");
  for (int format : {kFormatMp3, kFormatWav, kFormatWma, kFormatOgg}) {
    const int before = settings.fileReads();
    load(format);
    EXPECT_EQ(settings.fileReads() - before, 1) << "format " << format;
  }
  const EncoderProfile mp3 = load(kFormatMp3);
  EXPECT_EQ(mp3.bitrateKbps, 224);  // position 12
  EXPECT_EQ(mp3.quality, 2);
  EXPECT_EQ(mp3.vbrQuality, 1);
  EXPECT_EQ(load(kFormatOgg).qualityValue, 450);
}

TEST_F(EncoderProfileTest, NoFileGivesTheMp3Defaults) {
  // Values an earlier profile might have left, so each default must be set.
  encoder.setVbrHeader(0);
  encoder.setBitReservoir(0);
  encoder.setShortBlocks(0);
  encoder.setCrc(-1);
  encoder.setAllowDiffBlocks(-1);
  encoder.setStrictIso(-1);
  encoder.setEnforceMinBitrate(-1);
  encoder.setHighpassFreq(100);
  encoder.setLowpassFreq(9000);
  encoder.setVbrMethod(3);
  encoder.setAth(2);
  encoder.setChannels(1);
  encoder.setStereoMode(4);
  encoder.setDeEmphasis(2);
  encoder.setQuality(0);
  encoder.setBitrate(32);
  encoder.setVbrBitrate(32);
  encoder.setHighpassWidth(1);
  encoder.setLowpassWidth(1);
  encoder.setVbrQuality(0);
  encoder.setSampleRate(8000);

  ApplyEncoderProfile(settings, kFormatMp3, QString(), writer, encoder);

  EXPECT_EQ(encoder.vbrHeader(), -1);
  EXPECT_EQ(encoder.enforceMinBitrate(), 0);
  EXPECT_EQ(encoder.crc(), 0);
  EXPECT_EQ(encoder.allowDiffBlocks(), 0);
  EXPECT_EQ(encoder.bitReservoir(), -1);
  EXPECT_EQ(encoder.shortBlocks(), -1);
  EXPECT_EQ(encoder.strictIso(), 0);
  EXPECT_EQ(encoder.highpassFreq(), -1);
  EXPECT_EQ(encoder.lowpassFreq(), -1);
  EXPECT_EQ(encoder.vbrMethod(), -1);
  EXPECT_EQ(encoder.ath(), 0);
  EXPECT_EQ(encoder.channels(), 2);
  EXPECT_EQ(encoder.stereoMode(), 1);
  EXPECT_EQ(encoder.deEmphasis(), 0);
  EXPECT_EQ(encoder.quality(), 5);
  EXPECT_EQ(encoder.bitrate(), 128);
  EXPECT_EQ(encoder.vbrBitrate(), 128);
  EXPECT_EQ(encoder.highpassWidth(), 5);
  EXPECT_EQ(encoder.lowpassWidth(), 750);
  EXPECT_EQ(encoder.vbrQuality(), 5);
  EXPECT_EQ(encoder.sampleRate(), 44100);
  EXPECT_EQ(encoder.commandLine(), "");
  EXPECT_FALSE(encoder.presetInForce());
}

TEST_F(EncoderProfileTest, MonoLeavesTheStereoModeAlone) {
  store("[mp3]\nchannel=0\n");
  encoder.setStereoMode(3);
  ApplyEncoderProfile(settings, kFormatMp3, QString(), writer, encoder);
  EXPECT_EQ(encoder.channels(), 1);
  EXPECT_EQ(encoder.stereoMode(), 3);

  store("[mp3]\nchannel=4\n");
  ApplyEncoderProfile(settings, kFormatMp3, QString(), writer, encoder);
  EXPECT_EQ(encoder.channels(), 2);
  EXPECT_EQ(encoder.stereoMode(), 4);
}

TEST_F(EncoderProfileTest, FiltersSendTheirWidthsEvenWhenOff) {
  store("[MP3Filt]\nchLFilt=1\nudLFiltF=12000\nudHFiltF=400\nudHFiltW=9\n");
  ApplyEncoderProfile(settings, kFormatMp3, QString(), writer, encoder);
  EXPECT_EQ(encoder.highpassFreq(), -1) << "high-pass off";
  EXPECT_EQ(encoder.highpassWidth(), 9);
  EXPECT_EQ(encoder.lowpassFreq(), 12000);
  EXPECT_EQ(encoder.lowpassWidth(), 750);
}

TEST_F(EncoderProfileTest, PresetSetsThePresetAndNothingElse) {
  store("[mp3]\nbitrate=14\nquality=2\n");
  ApplyEncoderProfile(settings, kFormatMp3, QString(), writer, encoder);
  store("[mp3]\nbitrate=3\nquality=9\n[MP3Prest]\npreset=1\nrg_prest=7\n");
  ApplyEncoderProfile(settings, kFormatMp3, QString(), writer, encoder);
  EXPECT_EQ(encoder.preset(), 8);
  EXPECT_TRUE(encoder.presetInForce());
  EXPECT_FALSE(encoder.altPresetInForce());
  EXPECT_EQ(encoder.bitrate(), 320) << "the earlier individual settings stay";
  EXPECT_EQ(encoder.quality(), 2);
  EXPECT_EQ(encoder.commandLine(), "");

  store("[MP3Prest]\npreset=1\nalt=1\nrg_prest=2\nrg_alt=4\n");
  ApplyEncoderProfile(settings, kFormatMp3, QStringLiteral("-q 3"), writer, encoder);
  EXPECT_EQ(encoder.preset(), 3);
  EXPECT_EQ(encoder.altPreset(), 5);
  EXPECT_TRUE(encoder.presetInForce());
  EXPECT_TRUE(encoder.altPresetInForce()) << "both flags set both presets";
  EXPECT_EQ(encoder.commandLine(), "-q 3");
}

TEST_F(EncoderProfileTest, EmptiedCommandLineIsNotSent) {
  ApplyEncoderProfile(settings, kFormatMp3, QStringLiteral("-b 96"), writer, encoder);
  EXPECT_EQ(encoder.commandLine(), "-b 96");
  ApplyEncoderProfile(settings, kFormatMp3, QString(), writer, encoder);
  EXPECT_EQ(encoder.commandLine(), "-b 96");
}

TEST_F(EncoderProfileTest, ListPositionsTurnIntoValues) {
  store(
      "[wav]\nmode=2\nbit=0\nchannel=0\nfrequency=0\n[wma]\nformat=40\n"
      "[ogg]\noggvbr=1\nbitrate=9\nmin bitrate=5\nmax bitrate=11\nchannel=0\nfrequency=3\n");
  const EncoderProfile wav = load(kFormatWav);
  EXPECT_EQ(wav.sampleRateHz, 8000);
  EXPECT_EQ(wav.channels, 1);
  EXPECT_EQ(wav.bitsPerSample, 8);
  EXPECT_EQ(load(kFormatWma).profileNumber, 41);
  const EncoderProfile ogg = load(kFormatOgg);
  EXPECT_TRUE(ogg.oggVbr);
  EXPECT_EQ(ogg.bitrateKbps, 128);
  EXPECT_EQ(ogg.minBitrateKbps, 64);
  EXPECT_EQ(ogg.maxBitrateKbps, 192);
  EXPECT_EQ(ogg.channels, 1);
  EXPECT_EQ(ogg.sampleRateHz, 16000);

  store("[wav]\nmode=1\nfrequency=0\n");
  const EncoderProfile best = load(kFormatWav);
  EXPECT_EQ(best.sampleRateHz, 48000);
  EXPECT_EQ(best.channels, 2);
  EXPECT_EQ(best.bitsPerSample, 32);
}

TEST_F(EncoderProfileTest, PositionsOutsideTheirListsCountAsTheDefault) {
  store(
      "[mp3]\nbitrate=15\nfrequency=-1\nchannel=5\n[MP3VBR]\nCoding Method=9\nvbr bitrate=-3\n"
      "[MP3Expert]\nath=4\nde=-1\n[MP3Prest]\nrg_prest=11\nrg_alt=-1\n"
      "[wav]\nmode=3\n[wma]\nformat=47\n[ogg]\nfrequency=9\nchannel=2\nmin bitrate=-1\n"
      "quality=70000\n");
  const EncoderProfile mp3 = load(kFormatMp3);
  EXPECT_EQ(mp3.bitrateKbps, 128);
  EXPECT_EQ(mp3.sampleRateHz, 44100);
  EXPECT_EQ(mp3.channelMode, 1);
  EXPECT_EQ(mp3.vbrMethod, -1);
  EXPECT_EQ(mp3.vbrBitrateKbps, 128);
  EXPECT_EQ(mp3.ath, 0);
  EXPECT_EQ(mp3.deEmphasis, 0);
  EXPECT_EQ(mp3.presetNumber, 1);
  EXPECT_EQ(mp3.altPresetNumber, 1);
  const EncoderProfile wav = load(kFormatWav);
  EXPECT_EQ(wav.wavMode, 0) << "an unknown mode writes CD quality, not the last format";
  EXPECT_EQ(wav.sampleRateHz, 44100);
  EXPECT_EQ(load(kFormatWma).profileNumber, 10);
  const EncoderProfile ogg = load(kFormatOgg);
  EXPECT_EQ(ogg.sampleRateHz, 44100);
  EXPECT_EQ(ogg.channels, 2);
  EXPECT_EQ(ogg.minBitrateKbps, 128);
  EXPECT_EQ(ogg.qualityValue, 32767) << "held at the edge of 16 bits, not wrapped";
}

TEST_F(EncoderProfileTest, OtherIndexesSetNothing) {
  EXPECT_EQ(OutputExtension(kFormatMp3), ".mp3");
  EXPECT_EQ(OutputExtension(kFormatOgg), ".ogg");
  EXPECT_EQ(OutputExtension(kFormatCount), "");
  encoder.setBitrate(64);
  store("[mp3]\nbitrate=14\n");
  ApplyEncoderProfile(settings, kFormatCount, QStringLiteral("-b 32"), writer, encoder);
  ApplyEncoderProfile(settings, -1, QStringLiteral("-b 32"), writer, encoder);
  EXPECT_EQ(encoder.bitrate(), 64);
  EXPECT_EQ(encoder.commandLine(), "");
}

// What "MP3 (no re-encode)" cannot copy it encodes as MP3, with the MP3 settings.
TEST_F(EncoderProfileTest, TheCopyFormatEncodesWithTheMp3Settings) {
  EXPECT_EQ(OutputExtension(kFormatMp3Copy), ".mp3");
  store("[mp3]\nbitrate=14\n");
  ApplyEncoderProfile(settings, kFormatMp3Copy, QString(), writer, encoder);
  EXPECT_EQ(encoder.bitrate(), 320);
}

}  // namespace
}  // namespace tarvex::testing
