#include <QFile>

#include "AudioTestFolder.h"
#include "components/audio/AudioError.h"
#include "components/audio/AudioFile2.h"
#include "tests/support/GeneratedAudio.h"

namespace tarvex::testing {
namespace {

class OggVorbisTest : public AudioTest {
 protected:
  int64_t writeOgg(const QString& file, int64_t frames, int rate, int channels) {
    OutputSettings settings;
    settings.format = AudioFormat::Ogg;
    return writeAudioFile(file, Signal::Noise, frames, rate, channels, settings);
  }
};

// The CRC of an Ogg page (the checksum field counted as zero).
quint32 oggPageCrc(const QByteArray& page) {
  quint32 crc = 0;
  for (int i = 0; i < page.size(); ++i) {
    const auto byte = static_cast<quint8>(i >= 22 && i < 26 ? 0 : page[i]);
    crc ^= static_cast<quint32>(byte) << 24;
    for (int bit = 0; bit < 8; ++bit)
      crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
  }
  return crc;
}

// Sets the granule position of the file's last page, with a valid checksum.
void setLastGranule(const QString& file, qint64 granule) {
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::ReadWrite));
  QByteArray bytes = f.readAll();
  const int page = static_cast<int>(bytes.lastIndexOf("OggS"));
  ASSERT_GT(page, 0);
  for (int i = 0; i < 8; ++i) bytes[page + 6 + i] = static_cast<char>((granule >> (8 * i)) & 0xFF);
  const quint32 crc = oggPageCrc(bytes.mid(page));
  for (int i = 0; i < 4; ++i) bytes[page + 22 + i] = static_cast<char>((crc >> (8 * i)) & 0xFF);
  f.seek(0);
  f.write(bytes);
}

// The length is the frames written, to the frame, whatever the block size
// leaves over at the end; and that is what reading delivers.
TEST_F(OggVorbisTest, TheLengthIsTheFramesWritten) {
  struct Case {
    int64_t frames;
    int rate;
    int channels;
  };
  for (const Case c : {Case{44100, 44100, 2}, Case{44101, 44100, 2}, Case{1000, 44100, 2},
                       Case{33333, 22050, 1}, Case{96001, 48000, 1}}) {
    const QString file = path(QStringLiteral("len%1_%2.ogg").arg(c.frames).arg(c.rate));
    const int64_t written = writeOgg(file, c.frames, c.rate, c.channels);
    ASSERT_EQ(written, c.frames);
    AudioFile2 reader;
    reader.OpenRead(file, 0, 1);
    EXPECT_EQ(reader.SampleRate(), c.rate);
    EXPECT_EQ(reader.Channels(), c.channels);
    EXPECT_EQ(reader.Samples(), c.frames) << file.toStdString();
    EXPECT_EQ(static_cast<int64_t>(readToEnd(reader, 1500).size()), c.frames * c.channels)
        << file.toStdString();
  }
}

// Pieces cut from an Ogg source join up to the source, frame for frame.
TEST_F(OggVorbisTest, ReadingInStretchesAfterSeeksGivesTheWholeSource) {
  const QString file = path(QStringLiteral("whole.ogg"));
  writeOgg(file, 100000, 44100, 2);
  const std::vector<float> full = decodeFile(file);
  ASSERT_EQ(full.size(), 200000u);
  AudioFile2 reader;
  reader.OpenRead(file, 0, 1);
  std::vector<float> stitched;
  for (const int64_t begin : {int64_t{0}, int64_t{30000}, int64_t{61234}, int64_t{99000}}) {
    const int64_t end = begin == 99000   ? 100000
                        : begin == 0     ? 30000
                        : begin == 30000 ? 61234
                                         : 99000;
    reader.Seek(begin, 3);
    const SampleBlock block = reader.ReadBlock(static_cast<int>(end - begin));
    stitched.insert(stitched.end(), block.values.begin(), block.values.end());
  }
  ASSERT_EQ(stitched.size(), full.size());
  for (size_t i = 0; i < full.size(); ++i) ASSERT_NEAR(stitched[i], full[i], 1e-4f) << i;
}

// A last page that claims an absurd length is not believed: the length is
// what the file really holds, so no plan is made for audio that is not there.
TEST_F(OggVorbisTest, AnAbsurdRecordedLengthIsNotBelieved) {
  const QString file = path(QStringLiteral("liar.ogg"));
  writeOgg(file, 30000, 44100, 2);
  setLastGranule(file, qint64{1} << 40);
  AudioFile2 reader;
  reader.OpenRead(file, 0, 1);
  EXPECT_LT(reader.Samples(), 40000);
  EXPECT_EQ(static_cast<int64_t>(readToEnd(reader).size()), reader.Samples() * 2);
}

}  // namespace
}  // namespace tarvex::testing
