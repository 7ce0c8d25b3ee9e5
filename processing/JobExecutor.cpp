#include "processing/JobExecutor.h"

#include <QMetaObject>
#include <algorithm>
#include <memory>
#include <system_error>
#include <thread>
#include <vector>

#include "processing/JobControl.h"
#include "processing/JoinStream.h"
#include "processing/Mp3CopyChoice.h"
#include "processing/SourceShortfalls.h"
#include "processing/SplitWorker.h"

namespace tarvex {

// One job: its control, its thread, and the way its reports reach the
// executor's thread. Shared by the executor and the job's threads.
class JobExecutor::Run final : public JobReporter {
 public:
  explicit Run(JobExecutor* owner) : owner_(owner) {}

  JobControl control;
  std::thread thread;

  void pieceStarted(int piece, const QString& outputPath) override {
    post([owner = owner_, piece, outputPath] { emit owner->pieceStarted(piece, outputPath); });
  }
  void pieceProgress(int piece, int64_t done, int64_t total) override {
    post([owner = owner_, piece, done, total] {
      emit owner->pieceProgress(piece, static_cast<qint64>(done), static_cast<qint64>(total));
    });
  }
  void pieceFinished(int piece, PieceOutcome outcome, const QString& outputPath) override {
    post([owner = owner_, piece, outcome, outputPath] {
      emit owner->pieceFinished(piece, outcome, outputPath);
    });
  }

  // The job's last report: its error, if any, then how it ended.
  void finished() {
    JobResult result = JobResult::Completed;
    if (control.failed()) {
      result = JobResult::Failed;
    } else if (control.stopTookEffect()) {
      result = JobResult::Stopped;
    }
    const QString message = control.failureMessage();
    const int piece = control.failedPiece();
    const QString note = control.note();
    post([owner = owner_, result, message, piece, note] {
      if (!note.isEmpty()) emit owner->jobNote(note);
      if (result == JobResult::Failed) emit owner->jobFailed(message, piece);
      owner->finishRun();
      emit owner->jobFinished(result);
    });
  }

 private:
  // Queued on the executor's thread: dropped if the executor is gone, which
  // cannot happen before the job's threads have ended (its destructor waits).
  template <typename Report>
  void post(Report report) {
    QMetaObject::invokeMethod(owner_, std::move(report), Qt::QueuedConnection);
  }

  JobExecutor* owner_;
};

namespace {

int workerCount(int asked, size_t pieces) {
  int count = asked > 0 ? asked : static_cast<int>(std::thread::hardware_concurrency());
  count = std::max(count, 1);
  return static_cast<int>(
      std::min<size_t>(static_cast<size_t>(count), std::max<size_t>(pieces, 1)));
}

void runSplit(const SplitPlan& plan, const JobExecutor::Options& options, JobControl& control,
              JobReporter& reporter) {
  std::atomic<size_t> nextPiece{0};
  SourceShortfalls shortfalls;
  std::unique_ptr<Mp3CopySources> copySources;
  if (copiesMp3Frames(plan.profile.formatIndex))
    copySources = std::make_unique<Mp3CopySources>(plan);
  const auto work = [&] {
    SplitWorker(plan, options.removeCutOffOnStop, control, reporter, copySources.get(), &shortfalls)
        .run(nextPiece);
  };
  std::vector<std::thread> helpers;
  const int workers = workerCount(options.workers, plan.pieces.size());
  for (int helper = 1; helper < workers; ++helper) {
    try {
      helpers.emplace_back(work);
    } catch (const std::system_error&) {
      break;  // no more threads to be had: the ones running share the pieces
    }
  }
  work();  // this thread is a worker too
  for (std::thread& helper : helpers) helper.join();
  if (copySources) control.noteOnce(copySources->fallbackNote());
  // Less written than asked is no success, though what was written stays.
  const QString shortfall = shortfalls.message();
  if (!shortfall.isEmpty()) control.fail(shortfall, -1);
}

}  // namespace

JobExecutor::JobExecutor(QObject* parent) : QObject(parent) {}

JobExecutor::~JobExecutor() {
  if (run_) {
    run_->control.requestStop();
    if (run_->thread.joinable()) run_->thread.join();
  }
}

bool JobExecutor::start(SplitPlan plan, Options options) {
  if (running_) return false;
  finishRun();
  auto run = std::make_shared<Run>(this);
  run->thread = std::thread([run = run.get(), plan = std::move(plan), options] {
    runSplit(plan, options, run->control, *run);
    run->finished();
  });
  run_ = std::move(run);
  running_ = true;
  return true;
}

bool JobExecutor::start(JoinPlan plan, Options options) {
  if (running_) return false;
  finishRun();
  auto run = std::make_shared<Run>(this);
  run->thread = std::thread([run = run.get(), plan = std::move(plan), options] {
    JoinStream(plan, options.removeCutOffOnStop, run->control, *run).run();
    run->finished();
  });
  run_ = std::move(run);
  running_ = true;
  return true;
}

void JobExecutor::stop() {
  if (run_ && running_) run_->control.requestStop();
}

void JobExecutor::waitForThreads() {
  if (run_ && run_->thread.joinable()) run_->thread.join();
}

void JobExecutor::finishRun() {
  // The job's thread posted its last report and is ending.
  if (run_ && run_->thread.joinable()) run_->thread.join();
  running_ = false;
}

}  // namespace tarvex
