// Sources whose audio ends before the length they were planned with: the
// pieces get what there is, a piece with no audio is not written, and the
// job does not end as a plain success.
#include <gtest/gtest.h>

#include <QFile>

#include "tests/executor/ExecutorHarness.h"
#include "tests/support/LameSources.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TempFolder.h"

namespace tarvex::testing {
namespace {

using Outcome = JobExecutor::PieceOutcome;

struct EarlyEndCase {
  const char* name;
  EncoderProfile (*profile)();
};

class EarlyEndExecutorTest : public ::testing::TestWithParam<EarlyEndCase> {};

TEST_P(EarlyEndExecutorTest, PiecesPastTheEndAreNotWrittenAndTheJobSaysWhereItEnded) {
  TempFolder media;
  TempFolder out;
  const QString source = makeLameMp3(media.path(), "cut", 6.37, 44100, 2, {"-b", "96"});
  ASSERT_FALSE(source.isEmpty());
  const ProbedSource probed = probeSource(source);

  SplitPlan plan;
  plan.profile = GetParam().profile();
  plan.outputFolder = out.path() + QLatin1Char('/');
  for (int row = 0; row < 3; ++row)
    plan.pieces.push_back(plannedPiece(probed, 0, row, row * 2, row * 2 + 2, plan.outputFolder,
                                       QStringLiteral("piece"), plan.profile.formatIndex));
  // Cut short after it was planned: about 2.9 s of its 6.37 s are left.
  QFile file(source);
  ASSERT_TRUE(file.resize(file.size() * 45 / 100));

  JobExecutor::Options options;
  options.workers = 2;
  const JobRecord record = runJob(plan, options);

  EXPECT_EQ(record.result, JobExecutor::JobResult::Failed);
  EXPECT_EQ(record.failedPiece, -1);
  EXPECT_TRUE(record.failureMessage.contains(QStringLiteral("cut.mp3 ends early, at 2.")))
      << record.failureMessage.toStdString();
  // The first piece is whole, the second holds what there is, the third has nothing.
  ASSERT_EQ(record.outcomes.size(), 3u);
  EXPECT_EQ(record.outcomes.at(0), Outcome::Finished);
  EXPECT_EQ(record.outcomes.at(1), Outcome::Finished);
  EXPECT_EQ(record.outcomes.at(2), Outcome::Removed);
  EXPECT_TRUE(record.failureMessage.contains(QStringLiteral("1 piece shortened")))
      << record.failureMessage.toStdString();
  EXPECT_TRUE(record.failureMessage.contains(QStringLiteral("1 piece without audio not written")))
      << record.failureMessage.toStdString();
  ASSERT_EQ(filesIn(out.path()).size(), 2)
      << filesIn(out.path()).join(QLatin1Char(0x20)).toStdString();
  // Frames at the output's own rate (the WAV profile writes 44.1 kHz).
  const int rate = outsideFormat(record.finishedPaths.at(0)).sampleRate;
  const int64_t second = outsideFrames(record.finishedPaths.at(1));
  EXPECT_GT(second, rate / 2);
  EXPECT_LT(second, rate);
  EXPECT_NEAR(outsideFrames(record.finishedPaths.at(0)), 2 * rate, 1);
}

INSTANTIATE_TEST_SUITE_P(Formats, EarlyEndExecutorTest,
                         ::testing::Values(EarlyEndCase{"Wav", &wavProfile},
                                           EarlyEndCase{"Mp3Copy", &mp3CopyProfile}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarvex::testing
