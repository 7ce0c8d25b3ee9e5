// A range read through a rate conversion carries exactly its frames at the
// output rate, up to its own last frame.
#include <cmath>
#include <cstdint>

#include "components/audio/AudioFile2.h"
#include "tests/components_audio/AudioTestFolder.h"
#include "tests/support/GeneratedAudio.h"
#include "tests/support/OutsideTool.h"

namespace tarvex {
namespace {

using testing::runOutsideTool;

class ConvertedRangeTest : public testing::AudioTest {
 protected:
  // A lame MP3 of a sox tone.
  QString toneMp3(const QString& name, int rate, int channels, double seconds) {
    const QString wav = path(name + ".wav");
    runOutsideTool("sox", {"-n", "-r", QString::number(rate), "-c", QString::number(channels), wav,
                           "synth", QString::number(seconds), "sine", "440"});
    runOutsideTool("lame", {"--quiet", wav, path(name)});
    return path(name);
  }

  // Reads `frames` source frames from `first` in blocks of `blockFrames`, as
  // the join runner does.
  static std::vector<float> readRange(AudioFile2& reader, int64_t first, int64_t frames,
                                      int blockFrames) {
    reader.Seek(first);
    std::vector<float> out;
    for (int64_t done = 0; done < frames;) {
      const int want = static_cast<int>(std::min<int64_t>(blockFrames, frames - done));
      const SampleBlock block = reader.ReadBlock(want);
      out.insert(out.end(), block.values.begin(), block.values.end());
      done += want;
    }
    return out;
  }

  static int64_t atRate(int64_t frames, int from, int to) {
    return std::llround(static_cast<double>(frames) * to / from);
  }
};

TEST_F(ConvertedRangeTest, RangesOfAHalfRateMonoSourceCarryAllTheirFrames) {
  const QString mp3 = toneMp3("mono.mp3", 22050, 1, 3.0);
  AudioFile2 reader;
  reader.OpenRead(mp3);
  ASSERT_EQ(reader.SampleRate(), 22050);
  reader.SetPcmFormat(44100, 2);
  const std::vector<float> whole = readRange(reader, 0, reader.Samples(), 4410);

  // 1 s to 2.5 s in the join runner's blocks, then an odd range in odd blocks.
  const std::vector<float> range = readRange(reader, 22050, 33075, 4410);
  ASSERT_EQ(range.size(), size_t{66150} * 2);
  // Its end is the source's audio at that place, not the resampler's flush.
  const size_t offset = size_t{44100} * 2;
  double largest = 0;
  for (size_t i = range.size() - 2000; i < range.size(); ++i) {
    largest = std::max(largest, std::abs(double{range[i]} - double{whole[offset + i]}));
  }
  EXPECT_LT(largest, 1e-4);

  const std::vector<float> odd = readRange(reader, 12345, 12345, 999);
  EXPECT_EQ(odd.size(), static_cast<size_t>(atRate(12345, 22050, 44100)) * 2);

  // A range that reaches the end still ends with the data.
  const int64_t last = reader.Samples() - 11025;
  const std::vector<float> toEnd = readRange(reader, last, 11025, 4410);
  EXPECT_EQ(toEnd.size(), size_t{22050} * 2);
  EXPECT_TRUE(reader.ReadBlock(4410).values.empty());
}

TEST_F(ConvertedRangeTest, DownsampledRangesRoundToTheNearestFrameAndWriteExactly) {
  const QString mp3 = toneMp3("stereo.mp3", 44100, 2, 2.0);
  AudioFile2 reader;
  reader.OpenRead(mp3);
  reader.SetPcmFormat(22050, 1);
  const int64_t frames = 12345;  // 6172.5 frames at the output rate
  const std::vector<float> range = readRange(reader, 20000, frames, 8820);
  EXPECT_EQ(range.size(), static_cast<size_t>((frames * 22050 + 22050) / 44100));

  // Consecutive ranges add up to what they would give as one.
  const std::vector<float> first = readRange(reader, 0, 30000, 8820);
  const std::vector<float> both = readRange(reader, 0, 60000, 8820);
  EXPECT_EQ(first.size(), static_cast<size_t>(atRate(30000, 44100, 22050)));
  EXPECT_EQ(both.size(), static_cast<size_t>(atRate(60000, 44100, 22050)));

  // Written to a WAV, sox counts the same frames.
  AudioFile2 writer;
  writer.SetWavFormat(22050, 1, 16);
  writer.CreateWrite(path("range.wav"));
  writer.SetPcmFormat(22050, 1);
  writer.WriteBlock(SampleBlock{range});
  writer.Close();
  EXPECT_EQ(runOutsideTool("soxi", {"-s", path("range.wav")}).trimmed().toLongLong(),
            static_cast<qint64>(range.size()));
}

}  // namespace
}  // namespace tarvex
