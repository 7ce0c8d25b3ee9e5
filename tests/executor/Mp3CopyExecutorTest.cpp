// "MP3 (no re-encode)" through the executor: pieces and joins of MP3 files
// made by lame are their sources' own frames, exact to the sample as FFmpeg
// decodes them; what cannot be copied is encoded, with one note per job.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <map>

#include "processing/JobControl.h"
#include "processing/JoinStream.h"
#include "processing/Mp3CopyChoice.h"
#include "processing/SplitWorker.h"
#include "tests/executor/ExecutorHarness.h"
#include "tests/support/CopiedFrames.h"
#include "tests/support/GeneratedAudio.h"
#include "tests/support/LameSources.h"
#include "tests/support/OutsideTool.h"
#include "tests/support/TempFolder.h"

namespace tarvex::testing {
namespace {

using Outcome = JobExecutor::PieceOutcome;
using Result = JobExecutor::JobResult;

class Mp3CopyExecutorTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    media_ = new TempFolder;
    vbr_ = makeLameMp3(media_->path(), "vbr", 7.4, 44100, 2, {"-V", "4"});
    cbr_ = makeLameMp3(media_->path(), "cbr", 2.6, 44100, 2, {"-b", "128"});
    rate48_ = makeLameMp3(media_->path(), "rate48", 2.2, 48000, 2, {"-b", "128"});
    wav_ = media_->path("noise3.wav");
    writeNoiseFile(wav_, 3, 44100, 2, AudioFormat::Wav);
  }
  static void TearDownTestSuite() {
    delete media_;
    media_ = nullptr;
  }
  void SetUp() override {
    ASSERT_FALSE(vbr_.isEmpty()) << "lame did not make the sources";
    ASSERT_FALSE(cbr_.isEmpty());
    ASSERT_FALSE(rate48_.isEmpty());
  }

  QString folder() const { return out_.path() + QLatin1Char('/'); }

  // Pieces [begin, end) seconds of `source`, appended to `plan`.
  void addPieces(SplitPlan& plan, const QString& source, int sourceIndex,
                 const std::vector<std::pair<int, int>>& ranges, const QString& stem) const {
    const ProbedSource probed = probeSource(source);
    for (size_t row = 0; row < ranges.size(); ++row) {
      plan.pieces.push_back(plannedPiece(probed, sourceIndex, static_cast<int>(row),
                                         ranges[row].first, ranges[row].second, folder(), stem,
                                         plan.profile.formatIndex));
    }
  }
  SplitPlan copyPlan() const {
    SplitPlan plan;
    plan.profile = mp3CopyProfile();
    plan.outputFolder = folder();
    return plan;
  }
  static JoinPart wholePart(int source, const QString& path) {
    JoinPart part;
    part.source = source;
    part.sourcePath = path;
    part.whole = true;
    part.endFrame = probeSource(path).samples;
    return part;
  }

  static QString vbr_, cbr_, rate48_, wav_;
  TempFolder out_;

 private:
  static TempFolder* media_;
};

TempFolder* Mp3CopyExecutorTest::media_ = nullptr;
QString Mp3CopyExecutorTest::vbr_;
QString Mp3CopyExecutorTest::cbr_;
QString Mp3CopyExecutorTest::rate48_;
QString Mp3CopyExecutorTest::wav_;

QByteArray bytesOf(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

JobExecutor::Options twoWorkers() {
  JobExecutor::Options options;
  options.workers = 2;
  return options;
}

TEST_F(Mp3CopyExecutorTest, CopiedPiecesAreTheSourcesFramesAndAddUpToItExactly) {
  SplitPlan plan = copyPlan();
  // 7.4 s: the last piece runs from 6 s to the source's last sample.
  addPieces(plan, vbr_, 0, {{0, 2}, {2, 4}, {4, 6}, {6, 7}}, "vbr");
  const JobRecord record = runJob(plan, twoWorkers());

  ASSERT_EQ(record.result, Result::Completed) << record.failureMessage.toStdString();
  EXPECT_TRUE(record.notes.isEmpty()) << record.notes.join('\n').toStdString();
  int64_t sum = 0;
  for (int index = 0; index < static_cast<int>(plan.pieces.size()); ++index) {
    const PiecePlan& piece = plan.pieces[static_cast<size_t>(index)];
    ASSERT_EQ(record.outcomes.at(index), Outcome::Finished);
    const QString path = record.finishedPaths.at(index);
    EXPECT_EQ(path, piece.outputPath);
    EXPECT_GE(record.progressReports.at(index), 1) << "progress moves for copied pieces too";
    EXPECT_EQ(outsideFrames(path), piece.endFrame - piece.firstFrame) << path.toStdString();
    EXPECT_TRUE(sharesFrameBytes(vbr_, path)) << path.toStdString() << " was encoded anew";
    EXPECT_TRUE(bytesOf(path).startsWith("ID3")) << "the tag is in front of the audio";
    EXPECT_EQ(keyedValue(ffprobeTags(path), "title"), piece.tags.title);
    sum += outsideFrames(path);
  }
  EXPECT_EQ(sum, outsideFrames(vbr_)) << "the pieces hold the whole source, nothing twice";
}

TEST_F(Mp3CopyExecutorTest, OtherSourcesAreEncodedWithOneNoteNamingThem) {
  SplitPlan plan = copyPlan();
  addPieces(plan, wav_, 0, {{0, 1}, {1, 3}}, "noise");
  addPieces(plan, vbr_, 1, {{0, 3}}, "vbr");
  const JobRecord record = runJob(plan, twoWorkers());

  ASSERT_EQ(record.result, Result::Completed) << record.failureMessage.toStdString();
  ASSERT_EQ(record.notes.size(), 1) << "one note for the job, not one per piece";
  EXPECT_TRUE(record.notes.front().contains(QDir::toNativeSeparators(wav_)))
      << record.notes.front().toStdString();
  EXPECT_FALSE(record.notes.front().contains("Fades"));
  for (int index = 0; index < 2; ++index) {
    const PiecePlan& piece = plan.pieces[static_cast<size_t>(index)];
    EXPECT_TRUE(piece.outputPath.endsWith(".mp3"));
    EXPECT_EQ(outsideFormat(piece.outputPath).sampleRate, 44100);
    EXPECT_EQ(outsideFrames(piece.outputPath), piece.endFrame - piece.firstFrame);
  }
  EXPECT_TRUE(sharesFrameBytes(vbr_, plan.pieces[2].outputPath)) << "the MP3 source is copied";
}

// Root-mean-square of the interleaved stereo `samples` over frames [from, to).
double rmsOf(const std::vector<int32_t>& samples, int64_t from, int64_t to) {
  double sum = 0.0;
  for (auto i = static_cast<size_t>(2 * from); i < static_cast<size_t>(2 * to); ++i)
    sum += static_cast<double>(samples[i]) * samples[i];
  return std::sqrt(sum / static_cast<double>(std::max<int64_t>(2 * (to - from), 1)));
}

TEST_F(Mp3CopyExecutorTest, FadedPiecesAreCopiedBetweenTheirFadesWithoutANote) {
  SplitPlan plan = copyPlan();
  addPieces(plan, vbr_, 0, {{0, 2}, {2, 4}, {4, 7}}, "vbr");
  for (PiecePlan& piece : plan.pieces) {
    piece.fadeInSeconds = 1;
    piece.fadeOutSeconds = 1;
  }
  const JobRecord record = runJob(plan, twoWorkers());

  ASSERT_EQ(record.result, Result::Completed) << record.failureMessage.toStdString();
  EXPECT_TRUE(record.notes.isEmpty()) << record.notes.join('\n').toStdString();
  EXPECT_TRUE(sharesFrameBytes(vbr_, plan.pieces[2].outputPath)) << "the middle is copied";
  for (const PiecePlan& piece : plan.pieces) {
    const int64_t frames = piece.endFrame - piece.firstFrame;
    EXPECT_EQ(outsideFrames(piece.outputPath), frames);
    // Silent at both ends, full in the middle.
    const std::vector<int32_t> samples = ffmpegSamplesS32(piece.outputPath);
    ASSERT_EQ(static_cast<int64_t>(samples.size()), 2 * frames);
    const double middle = rmsOf(samples, frames / 2 - 2205, frames / 2 + 2205);
    EXPECT_LT(rmsOf(samples, 0, 441), 0.05 * middle) << piece.outputPath.toStdString();
    EXPECT_LT(rmsOf(samples, frames - 441, frames), 0.05 * middle)
        << piece.outputPath.toStdString();
  }
}

TEST_F(Mp3CopyExecutorTest, WholeFilesJoinByCopyingAndReplaceTheChosenFileOnlyWhenDone) {
  JoinPlan plan;
  plan.profile = mp3CopyProfile();
  plan.parts = {wholePart(0, vbr_), wholePart(1, cbr_)};
  plan.outputPath = out_.path("joined.mp3");
  plan.outputRate = 44100;
  plan.outputChannels = 2;
  // The user chose to replace this file in the save dialog.
  QFile existing(plan.outputPath);
  ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
  existing.write("an older file");
  existing.close();
  const JobRecord record = runJob(plan, JobExecutor::Options{});

  ASSERT_EQ(record.result, Result::Completed) << record.failureMessage.toStdString();
  EXPECT_TRUE(record.notes.isEmpty()) << record.notes.join('\n').toStdString();
  EXPECT_EQ(record.outcomes.at(1), Outcome::Finished);
  EXPECT_EQ(filesIn(out_.path()), QStringList{"joined.mp3"}) << "no temporary file is left";
  EXPECT_TRUE(sharesFrameBytes(plan.outputPath, vbr_));
  EXPECT_TRUE(sharesFrameBytes(plan.outputPath, cbr_));
  // Both files whole and no gap between them: the second one is crossfaded
  // over less than a frame with the first.
  const int64_t sources = outsideFrames(vbr_) + outsideFrames(cbr_);
  const int64_t joined = outsideFrames(plan.outputPath);
  EXPECT_LE(joined, sources);
  EXPECT_GT(joined, sources - 1152);
}

TEST_F(Mp3CopyExecutorTest, MarkedRangesJoinWithFadesByCopyingWithoutANote) {
  JoinPlan plan;
  plan.profile = mp3CopyProfile();
  const int64_t vbrFrames = probeSource(vbr_).samples;
  JoinPart first = wholePart(0, vbr_);
  first.whole = false;
  first.firstFrame = 44100 * 3 / 10 + 77;
  first.endFrame = vbrFrames - 44100 - 555;
  JoinPart second = wholePart(1, cbr_);
  second.whole = false;
  second.firstFrame = 1001;
  second.endFrame = probeSource(cbr_).samples - 2003;  // its middle lies before the fade
  plan.parts = {first, second};
  plan.fadeInSeconds = 1;
  plan.fadeOutSeconds = 1;
  plan.outputPath = out_.path("ranges.mp3");
  plan.outputRate = 44100;
  plan.outputChannels = 2;
  const JobRecord record = runJob(plan, JobExecutor::Options{});

  ASSERT_EQ(record.result, Result::Completed) << record.failureMessage.toStdString();
  EXPECT_TRUE(record.notes.isEmpty()) << record.notes.join('\n').toStdString();
  EXPECT_TRUE(sharesFrameBytes(plan.outputPath, vbr_)) << "copied, not encoded";
  EXPECT_TRUE(sharesFrameBytes(plan.outputPath, cbr_));
  const int64_t ranges =
      (first.endFrame - first.firstFrame) + (second.endFrame - second.firstFrame);
  const int64_t joined = outsideFrames(plan.outputPath);
  EXPECT_LE(joined, ranges);
  EXPECT_GT(joined, ranges - 1152);
}

TEST_F(Mp3CopyExecutorTest, ADifferentSampleRateMakesTheJoinEncodedWithANote) {
  JoinPlan plan;
  plan.profile = mp3CopyProfile();
  plan.parts = {wholePart(0, cbr_), wholePart(1, rate48_)};
  plan.outputPath = out_.path("mixed.mp3");
  plan.outputRate = 44100;
  plan.outputChannels = 2;
  const JobRecord record = runJob(plan, JobExecutor::Options{});

  ASSERT_EQ(record.result, Result::Completed) << record.failureMessage.toStdString();
  ASSERT_EQ(record.notes.size(), 1);
  EXPECT_TRUE(record.notes.front().contains("48000 Hz")) << record.notes.front().toStdString();
  EXPECT_EQ(outsideFormat(plan.outputPath).sampleRate, 44100);
  EXPECT_FALSE(sharesFrameBytes(plan.outputPath, cbr_));
  const double expected =
      static_cast<double>(outsideFrames(cbr_)) + outsideFrames(rate48_) * 44100.0 / 48000.0;
  EXPECT_NEAR(static_cast<double>(outsideFrames(plan.outputPath)), expected, 64.0);
}

// Asks for Stop at a piece's first progress report, which a copy gives
// before it writes anything.
class StopAtFirstProgress : public JobReporter {
 public:
  explicit StopAtFirstProgress(JobControl& control) : control_(control) {}
  void pieceStarted(int, const QString&) override {}
  void pieceProgress(int, int64_t, int64_t) override { control_.requestStop(); }
  void pieceFinished(int piece, Outcome outcome, const QString&) override {
    outcomes[piece] = outcome;
  }
  std::map<int, Outcome> outcomes;

 private:
  JobControl& control_;
};

TEST_F(Mp3CopyExecutorTest, StopDuringACopiedJoinLeavesNoFileBehind) {
  JoinPlan plan;
  plan.profile = mp3CopyProfile();
  plan.parts = {wholePart(0, vbr_), wholePart(1, cbr_)};
  plan.outputPath = out_.path("stopped.mp3");
  JobControl control;
  StopAtFirstProgress reporter(control);
  JoinStream(plan, false, control, reporter).run();

  EXPECT_TRUE(control.stopTookEffect());
  EXPECT_EQ(reporter.outcomes.at(0), Outcome::Removed);
  EXPECT_TRUE(filesIn(out_.path()).isEmpty());
}

TEST_F(Mp3CopyExecutorTest, StopDuringACopyLeavesNoFileBehind) {
  SplitPlan plan = copyPlan();
  addPieces(plan, vbr_, 0, {{0, 3}, {3, 7}}, "vbr");
  JobControl control;
  StopAtFirstProgress reporter(control);
  Mp3CopySources sources(plan);
  std::atomic<size_t> next{0};
  SplitWorker(plan, false, control, reporter, &sources).run(next);

  EXPECT_TRUE(control.stopTookEffect());
  ASSERT_EQ(reporter.outcomes.size(), 1u) << "the second piece is never begun";
  EXPECT_EQ(reporter.outcomes.at(0), Outcome::Removed);
  EXPECT_TRUE(filesIn(out_.path()).isEmpty()) << "neither a claimed name nor a cut-off copy";
}

}  // namespace
}  // namespace tarvex::testing
