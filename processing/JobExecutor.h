#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <memory>

#include "processing/JobPlan.h"

namespace tarvex {

// Runs one split or join plan at a time on worker threads and reports what
// happens only through its signals, which are always emitted on the thread
// the executor lives on (the caller's), in the order things happened: every
// report of a job comes before its jobFinished.
//
// Split: pieces are encoded side by side, one per worker, each worker with
// its own reader, writer and encoder settings; pieces of one source may run
// at once. Join: one stream (the writer already encodes while the reader
// decodes).
//
// Stop takes effect within one block. The first error ends the job: the other
// workers stop, and every output it cut short is removed.
//
// A source whose audio ends before its length gives its pieces what it
// holds; a piece with no audio at all is not written (reported Removed).
// The job then ends Failed, its jobFailed naming each file that ended early
// and where, while the pieces written are kept.
//
// "MP3 (no re-encode)" copies the frames of MP3 sources (pieces side by side
// as above, a join in one go) and encodes as MP3 what it cannot copy.
class JobExecutor : public QObject {
  Q_OBJECT

 public:
  enum class PieceOutcome {
    Finished,  // written whole, closed and tagged
    Stopped,   // cut short by Stop; kept, closed and tagged
    Removed,   // cut short (Stop with removeCutOffOnStop, or another piece's error) and deleted
  };
  Q_ENUM(PieceOutcome)

  enum class JobResult {
    Completed,
    Stopped,  // Stop ended it early
    Failed,   // an error ended it; jobFailed came first
  };
  Q_ENUM(JobResult)

  struct Options {
    int workers = 0;  // split workers; 0: std::thread::hardware_concurrency() (at least 1)
    // The window keeps a piece that Stop cut short; the command line removes it.
    bool removeCutOffOnStop = false;
  };

  explicit JobExecutor(QObject* parent = nullptr);
  // Stops a running job and waits for its threads; reports not yet delivered are dropped.
  ~JobExecutor() override;

  // Start a job and return at once; false (and nothing starts) while a job
  // runs. A split plan with no pieces completes at once (jobFinished still
  // comes, through the event queue); a join plan with no parts writes an
  // output without audio, as a join of nothing always has.
  bool start(SplitPlan plan, Options options);
  bool start(JoinPlan plan, Options options);

  // Asks the running job to stop; each worker stops within one block.
  void stop();
  // True from start until jobFinished is emitted.
  bool isRunning() const { return running_; }
  // Blocks until the job's threads have ended (their reports are then queued
  // on this object's thread, not yet delivered). For callers without a window.
  void waitForThreads();

 signals:
  // `piece` indexes SplitPlan::pieces or JoinPlan::parts. `outputPath` is the
  // file actually created (it may differ from the planned one, see PiecePlan);
  // for a join, the joined file.
  void pieceStarted(int piece, const QString& outputPath);
  // Split: frames of the piece done, of its frames. Join: frames of the whole
  // output done, of all planned (the bar follows the whole output).
  void pieceProgress(int piece, qint64 done, qint64 total);
  // `outputPath` is empty when the output was removed.
  void pieceFinished(int piece, tarvex::JobExecutor::PieceOutcome outcome,
                     const QString& outputPath);
  // Once per job, before its end is reported: something the user should know
  // about the job as a whole (the pieces "MP3 (no re-encode)" had to encode,
  // and why).
  void jobNote(const QString& note);
  // The error that ends the job, user-readable; `piece` is the one it struck
  // (-1: none in particular). Its output is removed.
  void jobFailed(const QString& message, int piece);
  void jobFinished(tarvex::JobExecutor::JobResult result);

 private:
  class Run;
  void finishRun();

  std::shared_ptr<Run> run_;
  bool running_ = false;
};

}  // namespace tarvex
