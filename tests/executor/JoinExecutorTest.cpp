// The join side of the executor: one stream across sources of different
// rates, one fade at each end of the output, Stop and failure.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <cmath>

#include "tests/executor/ExecutorHarness.h"
#include "tests/support/GeneratedAudio.h"
#include "tests/support/TempFolder.h"

namespace tarvex::testing {
namespace {

using Outcome = JobExecutor::PieceOutcome;
using Result = JobExecutor::JobResult;

class JoinExecutorTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    media_ = new TempFolder;
    writeToneFile(media_->path("a3.wav"), 3, 44100, 2, AudioFormat::Wav);
    writeToneFile(media_->path("b2.wav"), 2, 22050, 1, AudioFormat::Wav);
    writeToneFile(media_->path("tone6.mp3"), 6, 44100, 2, AudioFormat::Mp3);
  }
  static void TearDownTestSuite() {
    delete media_;
    media_ = nullptr;
  }
  static QString media(const QString& name) { return media_->path(name); }

  static JoinPart wholePart(int source, const QString& path) {
    const ProbedSource probed = probeSource(path);
    JoinPart part;
    part.source = source;
    part.sourcePath = path;
    part.whole = true;
    part.endFrame = probed.samples;
    return part;
  }
  static JoinPart rangePart(int source, const QString& path, int begin, int end) {
    const ProbedSource probed = probeSource(path);
    JoinPart part;
    part.source = source;
    part.sourcePath = path;
    part.firstFrame = beginFrameOf(probed, begin);
    part.endFrame = endFrameOf(probed, end);
    return part;
  }
  JoinPlan planOf(std::vector<JoinPart> parts, const EncoderProfile& profile,
                  const QString& name) const {
    JoinPlan plan;
    plan.parts = std::move(parts);
    plan.profile = profile;
    plan.outputPath = out_.path(name);
    const ProbedSource first = probeSource(plan.parts.front().sourcePath);
    plan.outputRate = first.sampleRate;
    plan.outputChannels = first.channels;
    return plan;
  }

  TempFolder out_;

 private:
  static TempFolder* media_;
};

TempFolder* JoinExecutorTest::media_ = nullptr;

double rms(const std::vector<float>& values, int channels, int rate, double start, double length) {
  const size_t first = static_cast<size_t>(start * rate) * channels;
  const size_t count = static_cast<size_t>(length * rate) * channels;
  double sum = 0;
  for (size_t i = first; i < first + count && i < values.size(); i += channels) {
    sum += values[i] * values[i];
  }
  return std::sqrt(sum / static_cast<double>(count / channels));
}

TEST_F(JoinExecutorTest, TwoRatesJoinInTheFirstSourcesFormatToTheExactLength) {
  const JoinPlan plan = planOf({wholePart(0, media("a3.wav")), wholePart(1, media("b2.wav"))},
                               wavProfile(), "mix.wav");
  const JobRecord record = runJob(plan, {});

  ASSERT_EQ(record.result, Result::Completed);
  EXPECT_EQ(record.started, (std::vector<int>{0, 1}));
  EXPECT_EQ(record.outcomes.at(0), Outcome::Finished);
  EXPECT_EQ(record.outcomes.at(1), Outcome::Finished);
  EXPECT_EQ(record.finishedPaths.at(1), plan.outputPath);
  EXPECT_TRUE(record.progressWithinBounds);
  const OutsideFormat format = outsideFormat(plan.outputPath);
  EXPECT_EQ(format.sampleRate, 44100);
  EXPECT_EQ(format.channels, 2);
  EXPECT_EQ(outsideFrames(plan.outputPath), 3 * 44100 + 2 * 44100);
}

TEST_F(JoinExecutorTest, RangesOfOneRateJoinToTheirSummedFrames) {
  const JoinPlan plan =
      planOf({rangePart(0, media("tone6.mp3"), 1, 2), rangePart(0, media("tone6.mp3"), 4, 6),
              rangePart(1, media("a3.wav"), 0, 1)},
             wavProfile(), "ranges.wav");
  const JobRecord record = runJob(plan, {});
  ASSERT_EQ(record.result, Result::Completed);
  EXPECT_EQ(outsideFrames(plan.outputPath), 44100 + 2 * 44100 + 44100);
}

TEST_F(JoinExecutorTest, OneFadeInAtTheStartAndOneFadeOutAtTheEndOfTheOutput) {
  JoinPlan plan = planOf({wholePart(0, media("a3.wav")), wholePart(1, media("a3.wav"))},
                         wavProfile(), "fades.wav");
  plan.fadeInSeconds = 1;
  plan.fadeOutSeconds = 1;
  ASSERT_EQ(runJob(plan, {}).result, Result::Completed);
  const std::vector<float> values = decodeFile(plan.outputPath);
  const double full = rms(values, 2, 44100, 1.5, 0.5);
  ASSERT_GT(full, 0.3);
  EXPECT_LT(rms(values, 2, 44100, 0.0, 0.05), 0.05 * full);  // fading in
  // The second source starts at full level: no fade at a source boundary.
  EXPECT_GT(rms(values, 2, 44100, 3.0, 0.05), 0.9 * full);
  EXPECT_GT(rms(values, 2, 44100, 4.9, 0.05), 0.9 * full);
  EXPECT_LT(rms(values, 2, 44100, 5.95, 0.05), 0.05 * full);  // faded out
}

TEST_F(JoinExecutorTest, StopKeepsTheShorterOutputOrRemovesItByOption) {
  for (const bool removeCutOff : {false, true}) {
    SCOPED_TRACE(removeCutOff ? "removed" : "kept");
    const JoinPlan plan =
        planOf({wholePart(0, media("tone6.mp3")), wholePart(1, media("tone6.mp3"))}, mp3Profile(),
               removeCutOff ? "gone.mp3" : "kept.mp3");
    JobExecutor::Options options;
    options.removeCutOffOnStop = removeCutOff;
    const JobRecord record =
        runJob(plan, options, [](JobExecutor& executor, int, qint64, qint64) { executor.stop(); });
    ASSERT_EQ(record.result, Result::Stopped);
    ASSERT_EQ(record.started.size(), 1u);
    if (removeCutOff) {
      EXPECT_EQ(record.outcomes.at(0), Outcome::Removed);
      EXPECT_FALSE(QFileInfo::exists(plan.outputPath));
    } else {
      EXPECT_EQ(record.outcomes.at(0), Outcome::Stopped);
      const int64_t frames = outsideFrames(plan.outputPath);
      EXPECT_GT(frames, 0);
      EXPECT_LT(frames, 12 * 44100);
    }
  }
}

TEST_F(JoinExecutorTest, AMissingSecondSourceFailsTheJobAndRemovesTheOutput) {
  TempFolder sources;
  ASSERT_TRUE(QFile::copy(media("a3.wav"), sources.path("later.wav")));
  const JoinPlan plan =
      planOf({wholePart(0, media("a3.wav")), wholePart(1, sources.path("later.wav"))}, wavProfile(),
             "broken.wav");
  ASSERT_TRUE(QFile::remove(sources.path("later.wav")));
  const JobRecord record = runJob(plan, {});
  ASSERT_EQ(record.result, Result::Failed);
  EXPECT_EQ(record.failedPiece, 1);
  EXPECT_TRUE(record.failureMessage.contains("later.wav")) << record.failureMessage.toStdString();
  EXPECT_EQ(record.outcomes.at(0), Outcome::Finished);
  EXPECT_FALSE(QFileInfo::exists(plan.outputPath));
}

}  // namespace
}  // namespace tarvex::testing
