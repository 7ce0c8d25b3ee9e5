#include <gtest/gtest.h>

#include "components/audio/AudioFile2.h"
#include "components/audio/Mp3LameEncoder.h"
#include "config/SettingsFile.h"
#include "processing/EncoderProfile.h"
#include "tests/encoder_profile/WrittenHeaders.h"
#include "tests/support/GeneratedAudio.h"
#include "tests/support/TempFolder.h"

namespace tarvex::testing {
namespace {

// Applies the profile to the real writer and encoder settings, then writes a
// second of tone, as the runners do for each output file.
class WrittenFormatTest : public ::testing::Test {
 protected:
  WrittenFormatTest() : settings(folder.path("Quillmere.ini")) {}
  void store(const QString& text) { writeText(folder.path("Quillmere.ini"), text); }

  QString writeAfterProfile(int formatIndex, const QString& name,
                            const QString& commandLine = QString()) {
    ApplyEncoderProfile(settings, formatIndex, commandLine, writer, encoder);
    const QString path = folder.path(name);
    writer.SetPcmFormat(44100, 2);
    writer.CreateWrite(path);
    writer.WriteBlock(generateBlock(Signal::Tone, 0, 44100, 44100, 2));
    writer.Close();
    return path;
  }

  // Every audio frame of the file carries the same header fields.
  static Mp3Frame uniformFrames(const QString& path) {
    const std::vector<Mp3Frame> frames = readMp3Frames(path);
    EXPECT_GT(frames.size(), 10u);
    if (frames.empty()) return {};
    for (const Mp3Frame& frame : frames) {
      EXPECT_EQ(frame.bitrateKbps, frames[0].bitrateKbps);
      EXPECT_EQ(frame.mode, frames[0].mode);
      EXPECT_EQ(frame.sampleRateHz, frames[0].sampleRateHz);
    }
    return frames[0];
  }

  TempFolder folder;
  SettingsFile settings;
  AudioFile2 writer;
  Mp3LameEncoder encoder;
};

TEST_F(WrittenFormatTest, DefaultMp3ProfileWritesStereo128At44100) {
  const Mp3Frame frame = uniformFrames(writeAfterProfile(kFormatMp3, "default.mp3"));
  EXPECT_EQ(frame.bitrateKbps, 128);
  EXPECT_EQ(frame.sampleRateHz, 44100);
  EXPECT_EQ(frame.mode, 0) << "stereo";
  EXPECT_FALSE(frame.crc);
  EXPECT_EQ(frame.emphasis, 0);
}

TEST_F(WrittenFormatTest, IndividualSettingsReachTheFrames) {
  store("[mp3]\nchannel=0\nbitrate=5\nfrequency=6\n");
  Mp3Frame frame = uniformFrames(writeAfterProfile(kFormatMp3, "mono.mp3"));
  EXPECT_EQ(frame.mode, 3) << "mono";
  EXPECT_EQ(frame.bitrateKbps, 64);
  EXPECT_EQ(frame.sampleRateHz, 32000);

  store(
      "[mp3]\nchannel=4\nbitrate=8\nfrequency=5\n[MP3Expert]\ncrc=1\nde=2\n"
      "[MP3Filt]\nchHFilt=0\nudHFiltW=9\n");
  frame = uniformFrames(writeAfterProfile(kFormatMp3, "dual.mp3"));
  EXPECT_EQ(frame.mode, 2) << "dual channel";
  EXPECT_EQ(frame.bitrateKbps, 112);
  EXPECT_EQ(frame.sampleRateHz, 24000);
  EXPECT_TRUE(frame.crc);
  EXPECT_EQ(frame.emphasis, 3) << "CCITT J.17";
}

TEST_F(WrittenFormatTest, PresetEightWritesItsOwnFormat) {
  store("[mp3]\nbitrate=0\nchannel=0\n");
  writeAfterProfile(kFormatMp3, "before.mp3");
  store("[mp3]\nbitrate=0\nchannel=0\n[MP3Prest]\npreset=1\nrg_prest=7\n");
  const Mp3Frame frame = uniformFrames(writeAfterProfile(kFormatMp3, "preset.mp3"));
  EXPECT_EQ(frame.bitrateKbps, 192);
  EXPECT_EQ(frame.sampleRateHz, 44100);
  EXPECT_EQ(frame.mode, 1) << "joint stereo";
}

TEST_F(WrittenFormatTest, CommandLineAppliesUntilANewOneIsGiven) {
  Mp3Frame frame = uniformFrames(writeAfterProfile(kFormatMp3, "b96.mp3", "-b 96"));
  EXPECT_EQ(frame.bitrateKbps, 96);
  frame = uniformFrames(writeAfterProfile(kFormatMp3, "emptied.mp3", ""));
  EXPECT_EQ(frame.bitrateKbps, 96) << "an emptied text is not sent";
}

TEST_F(WrittenFormatTest, WavModesWriteTheirFormats) {
  store("[wav]\nmode=1\n");
  WavFormat format = readWavFormat(writeAfterProfile(kFormatWav, "best.wav"));
  EXPECT_EQ(format.sampleRateHz, 48000);
  EXPECT_EQ(format.channels, 2);
  EXPECT_EQ(format.bitsPerSample, 32);

  store("[wav]\nmode=2\nbit=0\nchannel=0\nfrequency=0\n");
  format = readWavFormat(writeAfterProfile(kFormatWav, "custom.wav"));
  EXPECT_EQ(format.sampleRateHz, 8000);
  EXPECT_EQ(format.channels, 1);
  EXPECT_EQ(format.bitsPerSample, 8);

  // A writer still open is closed first, and its file is complete.
  writer.SetPcmFormat(44100, 2);
  writer.CreateWrite(folder.path("open.wav"));
  writer.WriteBlock(generateBlock(Signal::Tone, 0, 4410, 44100, 2));
  store("[wav]\nmode=0\n");
  ApplyEncoderProfile(settings, kFormatWav, QString(), writer, encoder);
  EXPECT_FALSE(writer.IsOpen());
  EXPECT_EQ(readWavFormat(folder.path("open.wav")).sampleRateHz, 8000);
  format = readWavFormat(writeAfterProfile(kFormatWav, "cd.wav"));
  EXPECT_EQ(format.sampleRateHz, 44100);
  EXPECT_EQ(format.bitsPerSample, 16);

  // Another index leaves the writer's format as it was.
  format = readWavFormat(writeAfterProfile(7, "still.wav"));
  EXPECT_EQ(format.sampleRateHz, 44100);
}

TEST_F(WrittenFormatTest, WmaFormatFortyIsProfileFortyOne) {
  store("[wma]\nformat=40\n");
  const QString path = writeAfterProfile(kFormatWma, "profile41.wma");
  AudioFile2 reader;
  reader.OpenRead(path);
  EXPECT_EQ(reader.SampleRate(), 44100) << "profile 40 would be 48 kHz";
  EXPECT_EQ(reader.Channels(), 2);
}

TEST_F(WrittenFormatTest, OggModesWriteTheirBitrates) {
  store("[ogg]\noggvbr=1\nbitrate=9\nmin bitrate=5\nmax bitrate=11\n");
  VorbisIdentification ident = readVorbisIdentification(writeAfterProfile(kFormatOgg, "vbr.ogg"));
  EXPECT_EQ(ident.nominalBitrate, 128000);
  EXPECT_EQ(ident.minimumBitrate, 64000);
  EXPECT_EQ(ident.maximumBitrate, 192000);
  EXPECT_EQ(ident.sampleRateHz, 44100);
  EXPECT_EQ(ident.channels, 2);

  store("[ogg]\nchannel=0\nfrequency=4\nbitrate=5\n");
  ident = readVorbisIdentification(writeAfterProfile(kFormatOgg, "cbr.ogg"));
  EXPECT_EQ(ident.nominalBitrate, 64000);
  EXPECT_LE(ident.minimumBitrate, 0) << "no minimum in constant-bitrate mode";
  EXPECT_EQ(ident.sampleRateHz, 22050);
  EXPECT_EQ(ident.channels, 1);

  // Both flags (only a hand-edited file): the bitrate-managed step runs last.
  store("[ogg]\noggvbr=1\noggquality=1\nquality=900\nmin bitrate=5\nmax bitrate=11\n");
  ident = readVorbisIdentification(writeAfterProfile(kFormatOgg, "both.ogg"));
  EXPECT_EQ(ident.nominalBitrate, 128000);
  EXPECT_EQ(ident.maximumBitrate, 192000);
}

}  // namespace
}  // namespace tarvex::testing
