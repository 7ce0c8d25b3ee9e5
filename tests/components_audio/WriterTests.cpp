#include "AudioTestFolder.h"
#include "Mp3FrameHeaders.h"
#include "components/audio/AudioError.h"
#include "components/audio/AudioFile2.h"
#include "components/audio/WmaProfiles.h"
#include "tests/support/GeneratedAudio.h"

#include <QFile>
#include <QFileDevice>

#include <functional>
#include <unistd.h>

namespace tarvex::testing {
namespace {

class WriterTest : public AudioTest {};

QByteArray fileBytes(const QString& file) {
  QFile f(file);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST_F(WriterTest, WavKeepsRateChannelsAndBitsAndItsSamples) {
  for (const int bits : {8, 16, 32}) {
    const QString file = path(QStringLiteral("w%1.wav").arg(bits));
    OutputSettings settings;
    settings.format = AudioFormat::Wav;
    settings.wavBits = bits;
    writeAudioFile(file, Signal::Tone, 4000, 22050, 1, settings);
    const QByteArray bytes = fileBytes(file);
    ASSERT_GE(bytes.size(), 44);
    EXPECT_EQ(static_cast<unsigned char>(bytes[34]), bits);  // bits per sample in the fmt chunk
    AudioFile2 reader;
    reader.OpenRead(file, 0, 1);
    EXPECT_EQ(reader.SampleRate(), 22050);
    EXPECT_EQ(reader.Channels(), 1);
    EXPECT_EQ(reader.Samples(), 4000);
    const SampleBlock block = reader.ReadBlock(4000);
    const SampleBlock expected = generateBlock(Signal::Tone, 0, 4000, 22050, 1);
    const float step = bits == 8 ? 1.0f / 64 : bits == 16 ? 1.0f / 16384 : 1e-6f;
    for (int i = 0; i < 4000; i += 37) ASSERT_NEAR(block.values[i], expected.values[i], step) << bits;
  }
}

TEST_F(WriterTest, WriterConvertsBlocksToTheOutputFormat) {
  const QString file = path(QStringLiteral("conv.wav"));
  AudioFile2 writer;
  writer.SetWavFormat(22050, 1, 16);
  writer.SetPcmFormat(44100, 2);
  writer.CreateWrite(file, 0);
  for (int i = 0; i < 10; ++i) writer.WriteBlock(generateBlock(Signal::Tone, i * 4410, 4410, 44100, 2));
  writer.Close();
  AudioFile2 reader;
  reader.OpenRead(file, 0, 1);
  EXPECT_EQ(reader.SampleRate(), 22050);
  EXPECT_EQ(reader.Channels(), 1);
  EXPECT_NEAR(static_cast<double>(reader.Samples()), 22050.0, 1.0);
}

TEST_F(WriterTest, OggQualityAndManagedModesBothRoundTrip) {
  AudioFile2 writer;
  struct Case {
    int bitrate, minimum, maximum;
    int16_t quality;
  };
  for (const Case c : {Case{0, 0, 0, 300}, Case{128, 0, 0, -1}, Case{128, 64, 192, -1},
                       Case{0, 0, 0, 5000}, Case{0, 0, 0, -500}}) {
    const QString file = path(QStringLiteral("o%1_%2.ogg").arg(c.bitrate).arg(c.quality));
    writer.SetOggFormat(44100, 2, c.bitrate, c.minimum, c.maximum, c.quality);
    writer.SetPcmFormat(44100, 2);
    writer.CreateWrite(file, 0);
    writer.WriteBlock(generateBlock(Signal::Noise, 0, 20000, 44100, 2));
    writer.Close();
    AudioFile2 reader;
    reader.OpenRead(file, 0, 1);
    EXPECT_EQ(reader.Samples(), 20000) << file.toStdString();
  }
}

TEST_F(WriterTest, EveryWmaProfileRoundTrips) {
  for (int profile = 1; profile <= kWmaProfileCount; ++profile) {
    const WmaProfile expected = wmaProfile(profile);
    const QString file = path(QStringLiteral("p%1.wma").arg(profile));
    OutputSettings settings;
    settings.format = AudioFormat::Wma;
    settings.wmaProfile = profile;
    // Blocks arrive as 44.1 kHz stereo; the writer converts them to the profile.
    writeAudioFile(file, Signal::Tone, 22050, 44100, 2, settings);
    AudioFile2 reader;
    reader.OpenRead(file, 0, 1);
    EXPECT_EQ(reader.SampleRate(), expected.sampleRate) << "profile " << profile;
    EXPECT_EQ(reader.Channels(), expected.channels) << "profile " << profile;
    const double seconds = static_cast<double>(reader.Samples()) / reader.SampleRate();
    EXPECT_NEAR(seconds, 0.5, 0.2) << "profile " << profile;
    EXPECT_EQ(static_cast<int64_t>(readToEnd(reader).size()), reader.Samples() * reader.Channels())
        << "profile " << profile;
  }
  AudioFile2 writer;
  EXPECT_THROW(writer.SetWmaFormat(0), AudioError);
  EXPECT_THROW(writer.SetWmaFormat(48), AudioError);
}

TEST_F(WriterTest, Mp3OutputCarriesNoId3Tag) {
  const QString file = path(QStringLiteral("notag.mp3"));
  writeToneFile(file, 0.5, 44100, 2, AudioFormat::Mp3);
  const Mp3Scan scan = scanMp3File(file);
  EXPECT_FALSE(scan.startsWithId3);
  EXPECT_FALSE(scan.endsWithId3v1);
  EXPECT_TRUE(scan.hasXingHeader);
}

TEST_F(WriterTest, CreateWriteOverwritesAnExistingFile) {
  const QString file = path(QStringLiteral("over.wav"));
  writeToneFile(file, 1.0, 8000, 1, AudioFormat::Wav);
  writeToneFile(file, 0.25, 8000, 1, AudioFormat::Wav);
  AudioFile2 reader;
  reader.OpenRead(file, 0, 1);
  EXPECT_EQ(reader.Samples(), 2000);
}

TEST_F(WriterTest, CreateInAMissingOrReadOnlyFolderNamesFileAndReason) {
  AudioFile2 writer;
  writer.SetMp3Encoder(Mp3LameEncoder());
  const QString missing = path(QStringLiteral("no/such/folder/out.mp3"));
  try {
    writer.CreateWrite(missing, 0);
    FAIL() << "no error";
  } catch (const AudioError& error) {
    EXPECT_TRUE(error.message().startsWith(QStringLiteral("Cannot create ")));
    EXPECT_TRUE(error.message().contains(missing));
    EXPECT_TRUE(error.message().contains(QStringLiteral("no such file or directory")));
  }
  EXPECT_FALSE(writer.IsOpen());
  QFile::setPermissions(folder_.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
  for (const auto& setFormat : {std::function<void()>([&] { writer.SetWavFormat(44100, 2, 16); }),
                                std::function<void()>([&] { writer.SetOggFormat(44100, 2, 128, 0, 0, -1); }),
                                std::function<void()>([&] { writer.SetWmaFormat(10); }),
                                std::function<void()>([&] { writer.SetMp3Encoder(Mp3LameEncoder()); })}) {
    setFormat();
    try {
      writer.CreateWrite(path(QStringLiteral("denied.out")), 0);
      if (::geteuid() != 0) ADD_FAILURE() << "no error";
      writer.Close();
    } catch (const AudioError& error) {
      EXPECT_TRUE(error.message().startsWith(QStringLiteral("Cannot create "))) << error.what();
      EXPECT_TRUE(error.message().contains(QStringLiteral("permission denied"))) << error.what();
    }
  }
  QFile::setPermissions(folder_.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST_F(WriterTest, BlocksWithoutWholeFramesAreRefused) {
  AudioFile2 writer;
  writer.SetWavFormat(44100, 2, 16);
  writer.SetPcmFormat(44100, 2);
  writer.CreateWrite(path(QStringLiteral("odd.wav")), 0);
  SampleBlock odd;
  odd.values = {0.1f, 0.2f, 0.3f};
  EXPECT_THROW(writer.WriteBlock(odd), AudioError);
  writer.Close();
}

TEST_F(WriterTest, BackgroundAndDirectMp3EncodingGiveTheSameFile) {
  QByteArray results[2];
  for (const bool background : {false, true}) {
    const QString file = path(background ? "bg.mp3" : "fg.mp3");
    AudioFile2 writer;
    writer.setBackgroundEncoding(background);
    writer.SetMp3Encoder(Mp3LameEncoder());
    writer.SetPcmFormat(44100, 2);
    writer.CreateWrite(file, 0);
    for (int i = 0; i < 20; ++i) writer.WriteBlock(generateBlock(Signal::Noise, i * 4410, 4410, 44100, 2));
    writer.Close();
    results[background] = fileBytes(file);
  }
  EXPECT_FALSE(results[0].isEmpty());
  EXPECT_EQ(results[0], results[1]);
}

}  // namespace
}  // namespace tarvex::testing
