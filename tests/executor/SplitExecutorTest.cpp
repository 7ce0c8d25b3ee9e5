// The split side of the executor: pieces on worker threads, exact frames,
// names that never collide nor overwrite, Stop, and the first error.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <csignal>
#include <set>

#include "components/audio/AudioFile2.h"
#include "processing/JobControl.h"
#include "processing/SplitWorker.h"
#include "tests/executor/ExecutorHarness.h"
#include "tests/support/GeneratedAudio.h"
#include "tests/support/TempFolder.h"

namespace tarvex::testing {
namespace {

using Outcome = JobExecutor::PieceOutcome;
using Result = JobExecutor::JobResult;

class SplitExecutorTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    media_ = new TempFolder;
    writeNoiseFile(media_->path("noise75.wav"), 7.5, 44100, 2, AudioFormat::Wav);
    writeToneFile(media_->path("tone9.mp3"), 9, 44100, 2, AudioFormat::Mp3);
  }
  static void TearDownTestSuite() {
    delete media_;
    media_ = nullptr;
  }
  static QString media(const QString& name) { return media_->path(name); }

  QString folder() const { return out_.path() + QLatin1Char('/'); }

  // Pieces [begin, end) seconds of one source, rows in order.
  SplitPlan planOf(const QString& source, const std::vector<std::pair<int, int>>& ranges,
                   const EncoderProfile& profile, const QString& stem) const {
    const ProbedSource probed = probeSource(source);
    SplitPlan plan;
    plan.profile = profile;
    plan.outputFolder = folder();
    for (size_t row = 0; row < ranges.size(); ++row) {
      plan.pieces.push_back(plannedPiece(probed, 0, static_cast<int>(row), ranges[row].first,
                                         ranges[row].second, folder(), stem, profile.formatIndex));
    }
    return plan;
  }

  TempFolder out_;

 private:
  static TempFolder* media_;
};

TempFolder* SplitExecutorTest::media_ = nullptr;

JobExecutor::Options workers(int count, bool removeCutOff = false) {
  JobExecutor::Options options;
  options.workers = count;
  options.removeCutOffOnStop = removeCutOff;
  return options;
}

TEST_F(SplitExecutorTest, PiecesSideBySideHoldExactlyTheSourceFramesInOrder) {
  const SplitPlan plan =
      planOf(media("noise75.wav"), {{0, 3}, {3, 6}, {6, 7}}, wavProfile(), "noise");
  const JobRecord record = runJob(plan, workers(2));

  ASSERT_EQ(record.result, Result::Completed);
  EXPECT_EQ(record.jobFailedCount, 0);
  EXPECT_EQ(record.finishedCount, 1);
  EXPECT_FALSE(record.reportAfterFinish);
  EXPECT_TRUE(record.progressWithinBounds);
  // The last piece reaches the source's end: 7 is its whole-second length.
  EXPECT_EQ(plan.pieces[2].endFrame, probeSource(media("noise75.wav")).samples);

  std::vector<float> joined;
  for (int piece = 0; piece < 3; ++piece) {
    ASSERT_EQ(record.outcomes.at(piece), Outcome::Finished);
    const QString path = record.finishedPaths.at(piece);
    EXPECT_EQ(path, plan.pieces[piece].outputPath);
    EXPECT_EQ(record.startedPaths.at(piece), path);
    EXPECT_EQ(outsideFrames(path), plan.pieces[piece].endFrame - plan.pieces[piece].firstFrame)
        << path.toStdString();
    const std::vector<float> values = decodeFile(path);
    joined.insert(joined.end(), values.begin(), values.end());
  }
  // Side by side or not, the pieces put together are the source, sample for sample.
  EXPECT_TRUE(joined == decodeFile(media("noise75.wav")));
}

TEST_F(SplitExecutorTest, Mp3PiecesDecodeOutsideToTheirPlannedLengthAndCarryTags) {
  const SplitPlan plan =
      planOf(media("tone9.mp3"), {{0, 4}, {4, 8}, {8, 9}, {5, 5}}, mp3Profile(), "tone");
  const JobRecord record = runJob(plan, workers(2));

  ASSERT_EQ(record.result, Result::Completed);
  for (int piece = 0; piece < 3; ++piece) {
    ASSERT_EQ(record.outcomes.at(piece), Outcome::Finished) << piece;
    const QString path = record.finishedPaths.at(piece);
    const int64_t planned = plan.pieces[piece].endFrame - plan.pieces[piece].firstFrame;
    EXPECT_EQ(outsideFrames(path), planned) << path.toStdString();
  }
  // An empty piece is still a file, holding no audio but the tag, and it ends Finished.
  EXPECT_EQ(plan.pieces[3].endFrame, plan.pieces[3].firstFrame);
  ASSERT_EQ(record.outcomes.at(3), Outcome::Finished);
  QFile empty(record.finishedPaths.at(3));
  ASSERT_TRUE(empty.open(QIODevice::ReadOnly));
  EXPECT_TRUE(empty.read(3) == "ID3");
  QProcess ffprobe;
  ffprobe.start("ffprobe", {"-v", "error", "-show_entries", "format_tags=title,artist", "-of",
                            "csv=p=0", record.finishedPaths.at(1)});
  ffprobe.waitForFinished(30000);
  const QString tags = QString::fromUtf8(ffprobe.readAllStandardOutput());
  EXPECT_TRUE(tags.contains("Piece 2")) << tags.toStdString();
  EXPECT_TRUE(tags.contains("Tester")) << tags.toStdString();
}

TEST_F(SplitExecutorTest, ParallelPiecesEqualSerialOnesByteForByte) {
  SplitPlan plan =
      planOf(media("tone9.mp3"), {{0, 2}, {2, 4}, {4, 6}, {6, 9}}, mp3Profile(), "tone");
  for (PiecePlan& piece : plan.pieces) {
    piece.fadeInSeconds = 1;
    piece.fadeOutSeconds = 1;
  }
  TempFolder serialFolder;
  SplitPlan serial = plan;
  serial.outputFolder = serialFolder.path() + QLatin1Char('/');
  for (PiecePlan& piece : serial.pieces) {
    piece.outputPath = serial.outputFolder + QFileInfo(piece.outputPath).fileName();
  }

  const JobRecord one = runJob(serial, workers(1));
  const JobRecord three = runJob(plan, workers(3));
  ASSERT_EQ(one.result, Result::Completed);
  ASSERT_EQ(three.result, Result::Completed);
  EXPECT_EQ(one.started, (std::vector<int>{0, 1, 2, 3}));  // one worker takes them in order
  for (int piece = 0; piece < 4; ++piece) {
    QFile a(one.finishedPaths.at(piece));
    QFile b(three.finishedPaths.at(piece));
    ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    const QByteArray bytes = a.readAll();
    EXPECT_GT(bytes.size(), 1000);
    EXPECT_TRUE(bytes == b.readAll()) << "piece " << piece;
  }
}

TEST_F(SplitExecutorTest, NamesTakenSinceThePlanAreCountedOnAndNothingIsWrittenOver) {
  const SplitPlan plan =
      planOf(media("noise75.wav"), {{0, 1}, {1, 2}, {2, 3}}, wavProfile(), "live");
  // Made after planning, before the pieces are created.
  writeText(folder() + "live_2.wav", "keep me");
  writeText(out_.path("elsewhere.txt"), "link target");
  ASSERT_TRUE(QFile::link(out_.path("elsewhere.txt"), folder() + "live_1.wav"));
  ASSERT_TRUE(QDir().mkdir(folder() + "live_4.wav"));

  const JobRecord record = runJob(plan, workers(2));
  ASSERT_EQ(record.result, Result::Completed);
  EXPECT_EQ(readText(folder() + "live_2.wav"), "keep me");
  EXPECT_EQ(readText(out_.path("elsewhere.txt")), "link target");
  EXPECT_TRUE(QFileInfo(folder() + "live_1.wav").isSymLink());

  std::set<QString> names;
  for (int piece = 0; piece < 3; ++piece) {
    ASSERT_EQ(record.outcomes.at(piece), Outcome::Finished);
    const QString path = record.finishedPaths.at(piece);
    names.insert(QFileInfo(path).fileName());
    EXPECT_EQ(outsideFrames(path), plan.pieces[piece].endFrame - plan.pieces[piece].firstFrame);
  }
  EXPECT_EQ(names, (std::set<QString>{"live_3.wav", "live_5.wav", "live_6.wav"}));
}

TEST_F(SplitExecutorTest, APlannedNameThatCannotBeMadeFallsBackToTheSourcesNameCountedOn) {
  SplitPlan plan = planOf(media("noise75.wav"), {{0, 1}, {1, 2}}, wavProfile(), "noise");
  for (PiecePlan& piece : plan.pieces) {
    piece.outputPath = folder() + "no such folder/" + QFileInfo(piece.outputPath).fileName();
  }
  const JobRecord record = runJob(plan, workers(1));
  ASSERT_EQ(record.result, Result::Completed);
  EXPECT_EQ(record.finishedPaths.at(0), folder() + "noise75.wav");
  EXPECT_EQ(record.finishedPaths.at(1), folder() + "noise75_1.wav");
  EXPECT_EQ(outsideFrames(record.finishedPaths.at(1)), 44100);
}

// Stops the job from the worker's own thread at its first progress report,
// so the Stop lands after exactly one block.
class StopAtFirstBlock : public JobReporter {
 public:
  explicit StopAtFirstBlock(JobControl& control) : control_(control) {}
  void pieceStarted(int piece, const QString&) override { started.push_back(piece); }
  void pieceProgress(int, int64_t, int64_t) override { control_.requestStop(); }
  void pieceFinished(int piece, JobExecutor::PieceOutcome outcome, const QString& path) override {
    outcomes[piece] = outcome;
    paths[piece] = path;
  }
  std::vector<int> started;
  std::map<int, JobExecutor::PieceOutcome> outcomes;
  std::map<int, QString> paths;

 private:
  JobControl& control_;
};

TEST_F(SplitExecutorTest, StopTakesEffectAfterOneBlockAndKeepsOrRemovesTheCutOffPiece) {
  const SplitPlan plan = planOf(media("noise75.wav"), {{0, 6}, {6, 7}}, wavProfile(), "cut");
  for (const bool removeCutOff : {false, true}) {
    SCOPED_TRACE(removeCutOff ? "removed" : "kept");
    TempFolder folder;
    SplitPlan here = plan;
    here.outputFolder = folder.path() + QLatin1Char('/');
    for (PiecePlan& piece : here.pieces) {
      piece.outputPath = here.outputFolder + QFileInfo(piece.outputPath).fileName();
    }
    JobControl control;
    StopAtFirstBlock reporter(control);
    std::atomic<size_t> next{0};
    SplitWorker(here, removeCutOff, control, reporter).run(next);

    EXPECT_TRUE(control.stopTookEffect());
    EXPECT_FALSE(control.failed());
    EXPECT_EQ(reporter.started, std::vector<int>{0});  // the second piece is never begun
    if (removeCutOff) {
      EXPECT_EQ(reporter.outcomes.at(0), Outcome::Removed);
      EXPECT_TRUE(filesIn(folder.path()).isEmpty());
    } else {
      EXPECT_EQ(reporter.outcomes.at(0), Outcome::Stopped);
      EXPECT_EQ(filesIn(folder.path()), QStringList{"cut_1.wav"});
      // One regular block: a fifth of a second.
      EXPECT_EQ(outsideFrames(reporter.paths.at(0)), 44100 / 5);
    }
  }
}

TEST_F(SplitExecutorTest, StopThroughTheExecutorEndsTheJobStoppedWithNothingHalfNamed) {
  // Long pieces: the stop is asked for from the event loop, and a busy machine may deliver
  // the first progress late; the job must still be far from done by then.
  const SplitPlan plan = planOf(
      media("tone9.mp3"), {{0, 9}, {1, 9}, {2, 9}, {0, 9}, {1, 9}, {2, 9}}, mp3Profile(), "stop");
  const JobRecord record =
      runJob(plan, workers(2), [](JobExecutor& executor, int, qint64, qint64) { executor.stop(); });
  ASSERT_EQ(record.result, Result::Stopped);
  EXPECT_LT(record.started.size(), plan.pieces.size());
  // Every piece begun is reported ended; the kept ones are there, nothing else is.
  QStringList expected;
  for (int piece : record.started) {
    ASSERT_TRUE(record.outcomes.count(piece)) << piece;
    EXPECT_NE(record.outcomes.at(piece), Outcome::Removed);
    expected << QFileInfo(record.finishedPaths.at(piece)).fileName();
  }
  expected.sort();
  EXPECT_EQ(filesIn(folder()), expected);
  EXPECT_TRUE(std::any_of(record.outcomes.begin(), record.outcomes.end(),
                          [](const auto& entry) { return entry.second == Outcome::Stopped; }));
}

// Writes past this many bytes fail with "file too large" while it lives.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &saved_);
    rlimit limited = saved_;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }

 private:
  rlimit saved_{};
};

TEST_F(SplitExecutorTest, TheFirstErrorEndsTheJobAndRemovesEveryPartialPiece) {
  const SplitPlan plan = planOf(media("tone9.mp3"), {{0, 3}, {3, 6}, {6, 9}}, wavProfile(), "full");
  JobRecord record;
  {
    const FileSizeLimit limit(100 * 1024);  // a piece of 3 s needs 529 200 bytes
    record = runJob(plan, workers(2));
  }
  ASSERT_EQ(record.result, Result::Failed);
  EXPECT_EQ(record.jobFailedCount, 1);
  EXPECT_GE(record.failedPiece, 0);
  EXPECT_LT(record.failedPiece, 3);
  EXPECT_TRUE(record.failureMessage.contains("full_")) << record.failureMessage.toStdString();
  EXPECT_FALSE(record.outcomes.count(record.failedPiece));
  for (const auto& [piece, outcome] : record.outcomes) EXPECT_EQ(outcome, Outcome::Removed);
  EXPECT_TRUE(filesIn(folder()).isEmpty()) << filesIn(folder()).join(' ').toStdString();
}

TEST_F(SplitExecutorTest, ASourceGoneByTheTimeItsTurnComesFailsTheJobWithItsName) {
  TempFolder sources;
  const QString first = sources.path("first.wav");
  const QString second = sources.path("second.wav");
  ASSERT_TRUE(QFile::copy(media("noise75.wav"), first));
  ASSERT_TRUE(QFile::copy(media("noise75.wav"), second));
  SplitPlan plan;
  plan.profile = wavProfile();
  plan.outputFolder = folder();
  const ProbedSource probed[] = {probeSource(first), probeSource(second)};
  for (int source = 0; source < 2; ++source) {
    for (int row = 0; row < 2; ++row) {
      plan.pieces.push_back(plannedPiece(probed[source], source, row, row, row + 1, folder(),
                                         source == 0 ? "first" : "second", kFormatWav));
    }
  }
  ASSERT_TRUE(QFile::remove(second));

  const JobRecord record = runJob(plan, workers(1));
  ASSERT_EQ(record.result, Result::Failed);
  EXPECT_EQ(record.failedPiece, 2);
  EXPECT_TRUE(record.failureMessage.contains("second.wav")) << record.failureMessage.toStdString();
  EXPECT_EQ(record.outcomes.at(0), Outcome::Finished);
  EXPECT_EQ(record.outcomes.at(1), Outcome::Finished);
  EXPECT_EQ(filesIn(folder()), (QStringList{"first_1.wav", "first_2.wav"}));
  EXPECT_EQ(outsideFrames(folder() + "first_2.wav"), 44100);
}

TEST_F(SplitExecutorTest, AnEmptyPlanCompletesAndASecondStartIsRefusedWhileOneRuns) {
  const JobRecord empty = runJob(SplitPlan{}, workers(0));
  EXPECT_EQ(empty.result, Result::Completed);
  EXPECT_TRUE(empty.started.empty());

  JobExecutor executor;
  const SplitPlan plan = planOf(media("tone9.mp3"), {{0, 9}}, mp3Profile(), "busy");
  ASSERT_TRUE(executor.start(plan, workers(1)));
  EXPECT_FALSE(executor.start(plan, workers(1)));
  EXPECT_FALSE(executor.start(JoinPlan{}, workers(1)));
  executor.stop();
  executor.waitForThreads();
  EXPECT_TRUE(executor.isRunning());  // until jobFinished is delivered
}

}  // namespace
}  // namespace tarvex::testing
