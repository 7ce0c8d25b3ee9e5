#pragma once

#include <QString>
#include <atomic>
#include <cstdint>
#include <mutex>

#include "processing/JobExecutor.h"

namespace tarvex {

// What the threads of one job share: the Stop request, the first error, and
// whether Stop actually cut anything short. Safe to use from any thread.
class JobControl {
 public:
  void requestStop() {
    stopRequested_.store(true);
    halted_.store(true);
  }
  bool stopRequested() const { return stopRequested_.load(); }
  // A worker that acts on the Stop request (cuts a piece short, leaves
  // pieces unbegun) says so; a Stop that came after the last block ends
  // nothing early.
  void noteStopTookEffect() { stopTookEffect_.store(true); }
  bool stopTookEffect() const { return stopTookEffect_.load(); }

  // Records the job's first error; later ones are dropped (they are the
  // echo of the first: workers that were stopped by it).
  void fail(const QString& message, int piece) {
    std::lock_guard lock(mutex_);
    if (failed_.load()) return;
    message_ = message;
    failedPiece_ = piece;
    failed_.store(true);
    halted_.store(true);
  }
  bool failed() const { return failed_.load(); }
  QString failureMessage() const {
    std::lock_guard lock(mutex_);
    return message_;
  }
  int failedPiece() const {
    std::lock_guard lock(mutex_);
    return failedPiece_;
  }

  // True once the job must end: Stop was pressed or an error struck.
  bool halted() const { return halted_.load(); }
  // The same as a flag, for work that polls one (the MP3 frame copy).
  const std::atomic<bool>* haltFlag() const { return &halted_; }

  // A note for the user about the job as a whole (why it re-encoded instead
  // of copying): the first one counts, reported once when the job ends.
  void noteOnce(const QString& note) {
    std::lock_guard lock(mutex_);
    if (note_.isEmpty()) note_ = note;
  }
  QString note() const {
    std::lock_guard lock(mutex_);
    return note_;
  }

 private:
  std::atomic<bool> stopRequested_{false};
  std::atomic<bool> stopTookEffect_{false};
  std::atomic<bool> failed_{false};
  std::atomic<bool> halted_{false};
  mutable std::mutex mutex_;
  QString message_;
  int failedPiece_ = -1;
  QString note_;
};

// Where the job's threads send their reports; the executor passes them on
// to its own thread.
class JobReporter {
 public:
  virtual ~JobReporter() = default;
  virtual void pieceStarted(int piece, const QString& outputPath) = 0;
  virtual void pieceProgress(int piece, int64_t done, int64_t total) = 0;
  virtual void pieceFinished(int piece, JobExecutor::PieceOutcome outcome,
                             const QString& outputPath) = 0;
};

// Passes progress on no more often than every `kIntervalMs` per thread, and
// always when a piece is done, so a fast job does not flood the event queue.
class ProgressThrottle {
 public:
  bool due(int64_t done, int64_t total);

 private:
  static constexpr int64_t kIntervalMs = 25;
  int64_t lastMs_ = -1;
};

}  // namespace tarvex
