#include "AudioTestFolder.h"
#include "components/audio/AudioError.h"
#include "components/audio/AudioFile2.h"
#include "tests/support/GeneratedAudio.h"

#include <cmath>

namespace tarvex::testing {
namespace {

class ReaderTest : public AudioTest {};

int64_t framesOf(const std::vector<float>& values, int channels) {
  return static_cast<int64_t>(values.size()) / channels;
}

TEST_F(ReaderTest, Mp3WithLameHeaderReportsExactlyTheFramesWrittenAndDecoded) {
  for (const int rate : {44100, 22050, 8000}) {
    for (const int channels : {1, 2}) {
      const QString file = path(QStringLiteral("tone%1_%2.mp3").arg(rate).arg(channels));
      const int64_t written = writeToneFile(file, 1.3, rate, channels, AudioFormat::Mp3);
      AudioFile2 reader;
      reader.OpenRead(file, 0, 1);
      EXPECT_EQ(reader.SampleRate(), rate);
      EXPECT_EQ(reader.Channels(), channels);
      EXPECT_EQ(reader.Samples(), written) << rate << " Hz, " << channels << " channels";
      EXPECT_EQ(framesOf(readToEnd(reader), channels), reader.Samples());
      EXPECT_EQ(reader.Duration(), (reader.Samples() * 1000 + rate / 2) / rate);
    }
  }
}

TEST_F(ReaderTest, Mp3LengthMatchesDecodeForCbrAndVbrWithAndWithoutHeader) {
  struct Case {
    int vbrMethod;
    bool header;
  };
  for (const Case c : {Case{-1, true}, Case{-1, false}, Case{2, true}, Case{2, false}}) {
    OutputSettings settings;
    settings.mp3.setVbrMethod(c.vbrMethod);
    settings.mp3.setVbrHeader(c.header ? -1 : 0);
    const QString file = path(QStringLiteral("noise_%1_%2.mp3").arg(c.vbrMethod).arg(c.header));
    const int64_t written = writeAudioFile(file, Signal::Noise, 50000, 44100, 2, settings);
    AudioFile2 reader;
    reader.OpenRead(file, 0, 1);
    const int64_t decoded = framesOf(readToEnd(reader), 2);
    EXPECT_EQ(reader.Samples(), decoded) << "VBR method " << c.vbrMethod << ", header " << c.header;
    if (c.header) {
      EXPECT_EQ(reader.Samples(), written);
    } else {
      // Without the header the encoder's delay and padding are decoded too.
      EXPECT_GT(reader.Samples(), written);
    }
  }
}

TEST_F(ReaderTest, OtherFormatsReportTheFramesTheyDecode) {
  for (const AudioFormat format : {AudioFormat::Wav, AudioFormat::Ogg, AudioFormat::Wma}) {
    const QString file = path(QStringLiteral("tone%1.%2")
                                  .arg(static_cast<int>(format))
                                  .arg(format == AudioFormat::Wav   ? "wav"
                                       : format == AudioFormat::Ogg ? "ogg"
                                                                    : "wma"));
    const int64_t written = writeToneFile(file, 1.1, 44100, 2, format);
    AudioFile2 reader;
    reader.OpenRead(file, 0, 1);
    const int64_t decoded = framesOf(readToEnd(reader, 3000), 2);
    EXPECT_EQ(reader.Samples(), decoded) << file.toStdString();
    if (format != AudioFormat::Wma) {
      EXPECT_EQ(reader.Samples(), written) << file.toStdString();
    }
    EXPECT_NEAR(static_cast<double>(reader.Samples()), static_cast<double>(written), 4096.0);
  }
}

TEST_F(ReaderTest, SeekThenReadGivesTheFramesOfAFullDecode) {
  struct Case {
    const char* name;
    AudioFormat format;
    float tolerance;
  };
  for (const Case c : {Case{"s.mp3", AudioFormat::Mp3, 0.0f}, Case{"s.wav", AudioFormat::Wav, 0.0f},
                       Case{"s.ogg", AudioFormat::Ogg, 1e-4f}, Case{"s.wma", AudioFormat::Wma, 1e-4f}}) {
    const QString file = path(QString::fromLatin1(c.name));
    writeNoiseFile(file, 1.5, 44100, 2, c.format);
    const std::vector<float> full = decodeFile(file);
    AudioFile2 reader;
    reader.OpenRead(file, 0, 1);
    // Forward, backward, to frame 0, and just before the end.
    for (const int64_t target : {int64_t{30011}, int64_t{1234}, int64_t{0}, int64_t{51000},
                                 reader.Samples() - 100}) {
      reader.Seek(target, 3);
      const SampleBlock block = reader.ReadBlock(700);
      const int64_t expectedFrames = std::min<int64_t>(700, reader.Samples() - target);
      ASSERT_EQ(block.upperBound(), expectedFrames * 2) << c.name << " at " << target;
      for (int i = 0; i < block.upperBound(); ++i) {
        ASSERT_NEAR(block.values[i], full[static_cast<size_t>(target * 2 + i)], c.tolerance)
            << c.name << " at frame " << target << ", value " << i;
      }
    }
  }
}

TEST_F(ReaderTest, SeekPastTheEndGivesAnEmptyBlockAndReadingGoesOnAfterSeekingBack) {
  const QString file = path(QStringLiteral("short.mp3"));
  writeToneFile(file, 0.5, 44100, 2, AudioFormat::Mp3);
  AudioFile2 reader;
  reader.OpenRead(file, 0, 1);
  reader.Seek(reader.Samples() + 5000, 3);
  EXPECT_EQ(reader.ReadBlock(100).upperBound(), 0);
  reader.Seek(10, 3);
  EXPECT_EQ(reader.ReadBlock(100).upperBound(), 200);
}

TEST_F(ReaderTest, ConvertedReadGivesTheExpectedCountAndKeepsTheTail) {
  for (const AudioFormat format : {AudioFormat::Wav, AudioFormat::Mp3}) {
    const QString file = path(format == AudioFormat::Wav ? "rs.wav" : "rs.mp3");
    writeToneFile(file, 2.0, 44100, 2, format);
    AudioFile2 reader;
    reader.OpenRead(file, 0, 1);
    const int64_t sourceFrames = reader.Samples();
    reader.SetPcmFormat(22050, 1);
    const std::vector<float> values = readToEnd(reader, 4410);
    const double expected = static_cast<double>(sourceFrames) * 22050.0 / 44100.0;
    EXPECT_NEAR(static_cast<double>(values.size()), expected, 1.0);
    // The tone runs to the very end: the last 10 ms are not silence.
    double energy = 0;
    for (size_t i = values.size() - 220; i < values.size() - 20; ++i) energy += values[i] * values[i];
    EXPECT_GT(energy / 200.0, 0.01);
  }
}

TEST_F(ReaderTest, ConvertedReadAfterSeekStartsAtTheSourceFrame) {
  const QString file = path(QStringLiteral("seekrs.wav"));
  writeToneFile(file, 1.0, 44100, 2, AudioFormat::Wav);
  AudioFile2 reader;
  reader.OpenRead(file, 0, 1);
  reader.SetPcmFormat(22050, 2);
  reader.Seek(22050, 3);  // half a second into the source
  const std::vector<float> rest = readToEnd(reader, 4410);
  EXPECT_NEAR(static_cast<double>(rest.size()) / 2, 11025.0, 1.0);
}

TEST_F(ReaderTest, ReopeningAfterDeactivationWorks) {
  const QString file = path(QStringLiteral("re.wav"));
  writeToneFile(file, 0.2, 8000, 1, AudioFormat::Wav);
  AudioFile2 reader;
  reader.setActive(true);
  EXPECT_THROW(reader.OpenRead(path(QStringLiteral("absent.mp3")), 0, 1), AudioError);
  reader.setActive(false);
  reader.setActive(true);
  EXPECT_TRUE(reader.Active());
  reader.OpenRead(file, 0, 1);
  EXPECT_TRUE(reader.IsOpen());
  EXPECT_EQ(reader.Samples(), 1600);
  reader.Close();
  EXPECT_FALSE(reader.IsOpen());
}

}  // namespace
}  // namespace tarvex::testing
