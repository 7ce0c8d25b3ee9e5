#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "app/JobStarter.h"
#include "processing/JobExecutor.h"
#include "processing/JobPlanning.h"

class QWidget;

namespace tarvex {

class JobProgress;
class PlatformServices;
class SegmentList;
class SourceList;

namespace skin {
class SkinObject;
}

// What the job display shows on and tells through.
struct JobDisplayParts {
  QWidget& window;  // parent of message boxes
  PlatformServices& platform;
  skin::SkinObject* nm;  // the path line; null when the skin lacks it
  SourceList& sourceList;
  SegmentList& segments;
  JobProgress& progress;
};

// Runs a split or join plan on the executor and shows what it reports: the
// status of each piece in the segment list, the progress of the piece the
// window follows, that piece's source selected in the source list and its
// path in "nm", the error that ended a job and the job's note (why "MP3 (no
// re-encode)" encoded some of it), each once. The window's thread only shows.
class JobDisplay : public QObject {
  Q_OBJECT
 public:
  // Called once the job has ended (after the error message, if any).
  using Finished = std::function<void(JobExecutor::JobResult)>;

  // `start` hands each job to the executor (startOnExecutor when empty).
  JobDisplay(const JobDisplayParts& parts, JobStarter start = {}, QObject* parent = nullptr);
  ~JobDisplay() override;

  // Starts a job on a snapshot of the sources and settings taken when the
  // command was given; false (nothing starts) while one runs.
  bool startSplit(SplitPlan plan, std::vector<SourceRecord> sources, JobSettings settings,
                  Finished finished);
  bool startJoin(JoinPlan plan, std::vector<SourceRecord> sources, JobSettings settings,
                 Finished finished);
  // Asks the job to stop and empties the progress display at once; the piece
  // cut short is kept and marked as stopped when its thread has ended.
  void stop();
  // True from a job's start until it ends or is stopped: the one answer the
  // window's commands, lists and player ask.
  bool running() const { return running_; }
  // True while a job's threads still run (a stopped job winds down within one block).
  bool threadsRunning() const { return executor_.isRunning(); }

 private:
  enum class PieceState { Waiting, Converting, Finished, Stopped, Removed, Failed };
  struct Piece {
    int source = 0;
    int row = 0;
    QString sourcePath;
    PieceState state = PieceState::Waiting;
  };

  template <typename Plan>
  bool startExecutor(Plan plan);
  std::vector<Segment> rowsOf(int source) const;
  void begin(std::vector<Piece> pieces, std::vector<std::vector<Segment>> rows,
             std::vector<SourceRecord> sources, JobSettings settings, bool join, Finished finished);
  void onStarted(int piece);
  void onProgress(int piece, qint64 done, qint64 total);
  void onFinished(int piece, JobExecutor::PieceOutcome outcome);
  void onFailed(const QString& message, int piece);
  void onJobFinished(JobExecutor::JobResult result);
  // Follows `piece`: selects its source and shows that source's rows.
  void follow(int piece);
  void showStatus(const Piece& piece);
  QString statusOf(const Piece& piece) const;

  QWidget& window_;
  PlatformServices& platform_;
  skin::SkinObject* nm_;
  SourceList& sourceList_;
  SegmentList& segments_;
  JobProgress& progress_;
  JobExecutor executor_;
  JobStarter start_;
  bool running_ = false;

  std::vector<Piece> pieces_;
  std::vector<SourceRecord> sources_;
  std::vector<std::vector<Segment>> rows_;  // the plan's rows, by source
  JobSettings settings_;
  bool join_ = false;
  int followed_ = -1;
  int shownSource_ = -1;
  QString failure_;
  QString note_;  // the job's note to the user, shown when it ends
  Finished finished_;
};

}  // namespace tarvex
