#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include "components/audio/AudioError.h"
#include "components/audio/AudioFile2.h"
#include "tests/reliability/HostileMedia.h"
#include "tests/support/GeneratedAudio.h"

namespace tarvex {
namespace {

using testing::AudioFormat;

template <typename T>
void appendLittleEndian(QByteArray& bytes, T value) {
  char buffer[sizeof(T)];
  qToLittleEndian(value, buffer);
  bytes.append(buffer, sizeof(T));
}

// A 16-bit PCM WAV whose header claims `sampleRate` and `channels`, followed
// by `dataBytes` bytes of quiet noise.
QByteArray wavClaiming(quint32 sampleRate, quint16 channels, int dataBytes) {
  QByteArray bytes("RIFF");
  appendLittleEndian<quint32>(bytes, static_cast<quint32>(36 + dataBytes));
  bytes.append("WAVEfmt ");
  appendLittleEndian<quint32>(bytes, 16);
  appendLittleEndian<quint16>(bytes, 1);
  appendLittleEndian<quint16>(bytes, channels);
  appendLittleEndian<quint32>(bytes, sampleRate);
  appendLittleEndian<quint32>(bytes, sampleRate * channels * 2);
  appendLittleEndian<quint16>(bytes, static_cast<quint16>(channels * 2));
  appendLittleEndian<quint16>(bytes, 16);
  bytes.append("data");
  appendLittleEndian<quint32>(bytes, static_cast<quint32>(dataBytes));
  for (int i = 0; i < dataBytes; ++i) bytes.append(static_cast<char>((i * 37) % 16 - 8));
  return bytes;
}

// Reads the whole file; counts the frames delivered, blocks holding
// `channels` values per frame.
int64_t framesDelivered(AudioFile2& reader, int channels) {
  int64_t frames = 0;
  while (true) {
    const SampleBlock block = reader.ReadBlock(4096);
    if (block.upperBound() < 1) break;
    frames += static_cast<int64_t>(block.values.size()) / channels;
  }
  return frames;
}

class OddStreams : public ::testing::Test {
 protected:
  QString path(const QString& name) const { return folder.filePath(name); }
  QTemporaryDir folder;
};

// Two MP3 files stitched together, the second of another MPEG version,
// rate and layout. The reader keeps to the first stream's format and ends
// where the second begins, so every block it gives has one layout and the
// length it announces is what it delivers.
TEST_F(OddStreams, AnMp3StitchedToOneOfAnotherFormatEndsAtTheSeam) {
  const int64_t mono = testing::writeToneFile(path("mono.mp3"), 1.0, 22050, 1, AudioFormat::Mp3);
  const int64_t stereo =
      testing::writeToneFile(path("stereo.mp3"), 1.0, 44100, 2, AudioFormat::Mp3);
  ASSERT_GT(mono, 0);
  ASSERT_GT(stereo, 0);
  struct Case {
    const char* first;
    const char* second;
    int64_t firstFrames;
    int rate;
    int channels;
  };
  const Case cases[] = {{"mono.mp3", "stereo.mp3", mono, 22050, 1},
                        {"stereo.mp3", "mono.mp3", stereo, 44100, 2}};
  for (const Case& stitched : cases) {
    SCOPED_TRACE(std::string(stitched.first) + " + " + stitched.second);
    ASSERT_TRUE(testing::writeFileBytes(
        path("stitched.mp3"),
        testing::fileBytes(path(stitched.first)) + testing::fileBytes(path(stitched.second))));
    AudioFile2 reader;
    reader.OpenRead(path("stitched.mp3"), 0, 1);
    EXPECT_EQ(reader.SampleRate(), stitched.rate);
    EXPECT_EQ(reader.Channels(), stitched.channels);
    EXPECT_EQ(reader.Samples(), stitched.firstFrames);
    EXPECT_EQ(framesDelivered(reader, stitched.channels), reader.Samples());
    // Converted to the other format, still whole.
    reader.SetPcmFormat(stitched.rate == 22050 ? 44100 : 22050, 3 - stitched.channels);
    reader.Seek(0, 3);
    const int64_t converted = framesDelivered(reader, 3 - stitched.channels);
    EXPECT_NEAR(static_cast<double>(converted),
                static_cast<double>(stitched.firstFrames) * (stitched.rate == 22050 ? 2.0 : 0.5),
                2.0);
  }
}

// Headers claiming rates of a few hertz (the resampler would make gigabytes
// of every block), absurd rates, or more channels than 7.1 are refused when
// the file is opened, with a message saying why.
TEST_F(OddStreams, AWavClaimingAnUnusableFormatIsRefusedWithAReason) {
  struct Case {
    quint32 rate;
    quint16 channels;
  };
  const Case refused[] = {{1, 1}, {7, 2}, {999, 1}, {3000000, 2}, {0x7FFFFFF0u, 1}, {44100, 12}};
  for (const Case& claim : refused) {
    SCOPED_TRACE(std::to_string(claim.rate) + " Hz, " + std::to_string(claim.channels) + " ch");
    ASSERT_TRUE(
        testing::writeFileBytes(path("odd.wav"), wavClaiming(claim.rate, claim.channels, 48000)));
    AudioFile2 reader;
    try {
      reader.OpenRead(path("odd.wav"), 0, 1);
      ADD_FAILURE() << "opened as " << reader.SampleRate() << " Hz, " << reader.Channels()
                    << " channels";
    } catch (const AudioError& error) {
      EXPECT_TRUE(error.message().contains("odd.wav")) << error.message().toStdString();
    }
    EXPECT_FALSE(reader.IsOpen());
  }
  // The edges of what is taken still open, and 5.1 sound is mixed down.
  const Case taken[] = {{1000, 1}, {768000, 2}, {48000, 6}};
  for (const Case& claim : taken) {
    SCOPED_TRACE(std::to_string(claim.rate) + " Hz, " + std::to_string(claim.channels) + " ch");
    ASSERT_TRUE(testing::writeFileBytes(
        path("edge.wav"), wavClaiming(claim.rate, claim.channels, 4800 * claim.channels)));
    AudioFile2 reader;
    reader.OpenRead(path("edge.wav"), 0, 1);
    EXPECT_EQ(reader.Samples(), 2400);
    reader.SetPcmFormat(44100, 2);
    const int64_t converted = framesDelivered(reader, 2);
    EXPECT_NEAR(static_cast<double>(converted), 2400.0 * 44100.0 / claim.rate, 2.0);
  }
}

// Inputs that once made a codec library write past its buffers. Each must
// open and read to the end, or fail with an AudioError; the copy of this
// test run under valgrind sees any stray write in the libraries.
TEST(FuzzFindings, EachOpensAndReadsOrFailsCleanly) {
  const QDir findings(QStringLiteral(TARVEX_FUZZ_FINDINGS_DIR));
  const QStringList names = findings.entryList(QDir::Files, QDir::Name);
  ASSERT_FALSE(names.isEmpty()) << findings.path().toStdString();
  for (const QString& name : names) {
    SCOPED_TRACE(name.toStdString());
    AudioFile2 reader;
    try {
      reader.OpenRead(findings.filePath(name), 0, 1);
      const int64_t frames = framesDelivered(reader, reader.Channels());
      EXPECT_LE(frames, reader.Samples());
      reader.Seek(reader.Samples() / 2, 3);
      (void)reader.ReadBlock(4096);
    } catch (const AudioError& error) {
      EXPECT_FALSE(error.message().isEmpty());
    }
  }
}

}  // namespace
}  // namespace tarvex
