// Waveform pictures: the exact one from decoded samples (any number of
// decoder threads, any block sizes), the quick MP3 estimate, the job's
// stages and its cache.
#include <gtest/gtest.h>

#include <QFile>
#include <QSignalSpy>
#include <cmath>

#include "sources/analysis/ExactPeaks.h"
#include "sources/analysis/Mp3GainScan.h"
#include "sources/analysis/WaveformJob.h"
#include "tests/support/ProgrammeAudio.h"
#include "tests/support/TempFolder.h"

namespace tarvex {
namespace {

using testing::AudioFormat;
using testing::Signal;

WaveformPeaks blankPeaks(int width) {
  WaveformPeaks peaks;
  peaks.low.assign(static_cast<size_t>(width), 0.0f);
  peaks.high.assign(static_cast<size_t>(width), 0.0f);
  return peaks;
}

TEST(PeakAccumulator, ColumnsHoldTheirStretchesExtremesWhateverTheBlocks) {
  // 10 frames of two channels over 4 columns: frames 0-2, 3-4, 5-7, 8-9.
  std::vector<float> values;
  for (int frame = 0; frame < 10; ++frame) {
    values.push_back(0.1f * frame);
    values.push_back(-0.05f * frame);
  }
  WaveformPeaks whole = blankPeaks(4);
  PeakAccumulator wholeFeed(whole, 10, 2, 0);
  wholeFeed.add(values.data(), 10);
  wholeFeed.finish();
  EXPECT_EQ(wholeFeed.completedColumns(), 4);
  EXPECT_FLOAT_EQ(whole.high[0], 0.2f);
  EXPECT_FLOAT_EQ(whole.low[0], -0.1f);
  EXPECT_FLOAT_EQ(whole.high[1], 0.4f);
  EXPECT_FLOAT_EQ(whole.low[3], -0.45f);

  WaveformPeaks pieces = blankPeaks(4);
  PeakAccumulator pieceFeed(pieces, 10, 2, 0);
  for (int frame = 0; frame < 10; frame += 3)
    pieceFeed.add(values.data() + frame * 2, std::min(3, 10 - frame));
  EXPECT_EQ(pieces.high, whole.high);
  EXPECT_EQ(pieces.low, whole.low);
}

TEST(ExactPeaks, ThreadsAgreeAndFollowTheProgramme) {
  testing::TempFolder folder;
  const QString path = folder.path("p.wav");
  // 1 s tone, 1 s silence, 1 s tone.
  writeProgramme(path, {{Signal::Tone, 1.0}, {Signal::Silence, 1.0}, {Signal::Tone, 1.0}},
                 AudioFormat::Wav);
  std::atomic<bool> stop{false};
  const WaveformPeaks one = exactPeaks(path, 300, 1, stop);
  int reports = 0;
  const WaveformPeaks three =
      exactPeaks(path, 300, 3, stop, {}, [&reports](const WaveformPeaks&) { ++reports; });
  ASSERT_EQ(one.width(), 300);
  EXPECT_TRUE(one.exact);
  EXPECT_EQ(one.high, three.high);
  EXPECT_EQ(one.low, three.low);
  EXPECT_NEAR(one.high[50], 0.5f, 0.01f);
  EXPECT_NEAR(one.low[50], -0.5f, 0.01f);
  EXPECT_FLOAT_EQ(one.high[150], 0.0f);
  EXPECT_NEAR(one.high[250], 0.5f, 0.01f);

  stop = true;
  EXPECT_TRUE(exactPeaks(path, 300, 2, stop).empty());
}

TEST(Mp3GainScan, EstimateShowsLoudAndSilentStretchesWithoutDecoding) {
  testing::TempFolder folder;
  const QString path = folder.path("p.mp3");
  writeProgramme(path,
                 {{Signal::Tone, 2.0},
                  {Signal::Silence, 2.0},
                  {Signal::Noise, 2.0, -20.0},
                  {Signal::Tone, 2.0, -30.0}},
                 AudioFormat::Mp3);
  std::atomic<bool> stop{false};
  const WaveformPeaks quick = scanMp3Gains(path, 80, stop);
  const WaveformPeaks exact = exactPeaks(path, 80, 1, stop);
  ASSERT_EQ(quick.width(), 80);
  EXPECT_FALSE(quick.exact);
  // Well inside each stretch (columns of 0.1 s): silence is nothing, sound is
  // within 12 dB of the decoded peaks, and the quiet tone stays below the loud one.
  for (int column : {5, 15, 45, 55, 65, 75}) {
    const double estimate = 20.0 * std::log10(std::max(1e-6f, quick.high[column]));
    const double decoded = 20.0 * std::log10(std::max(1e-6f, exact.high[column]));
    EXPECT_NEAR(estimate, decoded, 12.0) << "column " << column;
    EXPECT_FLOAT_EQ(quick.low[column], -quick.high[column]);
  }
  for (int column : {25, 35}) EXPECT_LT(quick.high[column], 0.001f) << column;
  EXPECT_LT(quick.high[75], quick.high[5]);
}

TEST(Mp3GainScan, OtherAndDamagedFilesGiveNoEstimate) {
  testing::TempFolder folder;
  std::atomic<bool> stop{false};
  const QString wav = folder.path("p.wav");
  testing::writeToneFile(wav, 1.0, 44100, 2, AudioFormat::Wav);
  EXPECT_TRUE(scanMp3Gains(wav, 100, stop).empty());

  QByteArray junk(100000, '\xFF');  // sync bits everywhere, no valid header
  testing::writeText(folder.path("junk.mp3"), QString());
  QFile file(folder.path("junk.mp3"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(junk);
  file.close();
  EXPECT_TRUE(scanMp3Gains(folder.path("junk.mp3"), 100, stop).empty());

  // A file cut in the middle of a frame still gives the frames before the cut.
  const QString mp3 = folder.path("t.mp3");
  testing::writeToneFile(mp3, 2.0, 44100, 2, AudioFormat::Mp3);
  QFile cut(mp3);
  ASSERT_TRUE(cut.resize(cut.size() / 2 + 77));
  const WaveformPeaks half = scanMp3Gains(mp3, 50, stop);
  ASSERT_EQ(half.width(), 50);
  EXPECT_GT(half.high[25], 0.05f);
  EXPECT_TRUE(scanMp3Gains(folder.path("absent.mp3"), 50, stop).empty());
}

TEST(WaveformJob, EstimateThenExactThenFromTheCache) {
  testing::TempFolder folder;
  const QString path = folder.path("p.mp3");
  writeProgramme(path, {{Signal::Tone, 1.0}, {Signal::Silence, 1.0}}, AudioFormat::Mp3);
  WaveformCache cache;
  WaveformJob job(cache, 2);
  QSignalSpy updated(&job, &WaveformJob::updated);
  job.start(path, 120);
  ASSERT_TRUE(updated.wait(20000));
  while (!updated.last().at(1).value<WaveformPeaks>().exact) ASSERT_TRUE(updated.wait(20000));
  EXPECT_FALSE(updated.first().at(1).value<WaveformPeaks>().exact);  // the estimate came first
  const WaveformPeaks exact = updated.last().at(1).value<WaveformPeaks>();
  EXPECT_EQ(exact.width(), 120);

  updated.clear();
  job.start(path, 120);
  ASSERT_EQ(updated.size(), 1);  // at once, from the cache
  EXPECT_EQ(updated.at(0).at(1).value<WaveformPeaks>().high, exact.high);

  QSignalSpy failed(&job, &WaveformJob::failed);
  testing::writeText(folder.path("bad.mp3"), QStringLiteral("no audio"));
  job.start(folder.path("bad.mp3"), 120);
  ASSERT_TRUE(failed.wait(20000));
  EXPECT_TRUE(failed.at(0).at(1).toString().contains(QStringLiteral("bad.mp3")));
}

}  // namespace
}  // namespace tarvex
