#include "app/JobDisplay.h"

#include <QTreeWidget>
#include <algorithm>

#include "app/JobProgress.h"
#include "app/views/SegmentList.h"
#include "app/views/SourceList.h"
#include "components/skin/SkinObject.h"
#include "platform/PlatformServices.h"

namespace tarvex {

JobDisplay::JobDisplay(const JobDisplayParts& parts, JobStarter start, QObject* parent)
    : QObject(parent),
      window_(parts.window),
      platform_(parts.platform),
      nm_(parts.nm),
      sourceList_(parts.sourceList),
      segments_(parts.segments),
      progress_(parts.progress),
      start_(start ? std::move(start) : JobStarter(startOnExecutor)) {
  connect(&executor_, &JobExecutor::pieceStarted, this,
          [this](int piece, const QString&) { onStarted(piece); });
  connect(&executor_, &JobExecutor::pieceProgress, this, &JobDisplay::onProgress);
  connect(&executor_, &JobExecutor::pieceFinished, this,
          [this](int piece, JobExecutor::PieceOutcome outcome, const QString&) {
            onFinished(piece, outcome);
          });
  connect(&executor_, &JobExecutor::jobNote, this, [this](const QString& note) { note_ = note; });
  connect(&executor_, &JobExecutor::jobFailed, this, &JobDisplay::onFailed);
  connect(&executor_, &JobExecutor::jobFinished, this, &JobDisplay::onJobFinished);
}

JobDisplay::~JobDisplay() = default;

template <typename Plan>
bool JobDisplay::startExecutor(Plan plan) {
  // Running from here: what the job display shows from now on is the job's.
  running_ = true;
  if (!start_(executor_, PlannedJob(std::move(plan)), JobExecutor::Options{})) running_ = false;
  return running_;
}

bool JobDisplay::startSplit(SplitPlan plan, std::vector<SourceRecord> sources, JobSettings settings,
                            Finished finished) {
  if (running() || threadsRunning()) return false;
  std::vector<Piece> pieces;
  for (const PiecePlan& piece : plan.pieces) {
    pieces.push_back({piece.source, piece.row, piece.sourcePath});
  }
  begin(std::move(pieces), plan.rows, std::move(sources), std::move(settings), false,
        std::move(finished));
  return startExecutor(std::move(plan));
}

bool JobDisplay::startJoin(JoinPlan plan, std::vector<SourceRecord> sources, JobSettings settings,
                           Finished finished) {
  if (running() || threadsRunning()) return false;
  std::vector<Piece> pieces;
  for (const JoinPart& part : plan.parts)
    pieces.push_back({part.source, part.row, part.sourcePath});
  begin(std::move(pieces), plan.rows, std::move(sources), std::move(settings), true,
        std::move(finished));
  return startExecutor(std::move(plan));
}

void JobDisplay::begin(std::vector<Piece> pieces, std::vector<std::vector<Segment>> rows,
                       std::vector<SourceRecord> sources, JobSettings settings, bool join,
                       Finished finished) {
  pieces_ = std::move(pieces);
  rows_ = std::move(rows);
  sources_ = std::move(sources);
  settings_ = std::move(settings);
  join_ = join;
  followed_ = -1;
  shownSource_ = -1;
  failure_.clear();
  note_.clear();
  finished_ = std::move(finished);
  if (!pieces_.empty()) follow(0);
}

std::vector<Segment> JobDisplay::rowsOf(int source) const {
  if (source < 0 || source >= static_cast<int>(rows_.size())) return {};
  return rows_[static_cast<size_t>(source)];
}

void JobDisplay::stop() {
  executor_.stop();
  running_ = false;
  progress_.clear();
}

QString JobDisplay::statusOf(const Piece& piece) const {
  switch (piece.state) {
    case PieceState::Converting:
      return kStatusConverting;
    case PieceState::Finished:
      return kStatusFinish;
    case PieceState::Stopped:
      return kStatusStopped;
    case PieceState::Failed:
      return kStatusError;
    case PieceState::Waiting:
    case PieceState::Removed:
      break;
  }
  // Not written (or removed again): the row shows what it showed before the job.
  const std::vector<Segment> rows = rowsOf(piece.source);
  if (piece.row >= 0 && piece.row < static_cast<int>(rows.size())) {
    return statusText(rows[static_cast<size_t>(piece.row)].status);
  }
  return QString();
}

void JobDisplay::showStatus(const Piece& piece) {
  if (piece.source == shownSource_) segments_.setStatus(piece.row, statusOf(piece));
}

void JobDisplay::follow(int piece) {
  if (piece < 0 || piece >= static_cast<int>(pieces_.size())) return;
  followed_ = piece;
  const Piece& followed = pieces_[static_cast<size_t>(piece)];
  if (followed.source != shownSource_) {
    shownSource_ = followed.source;
    sourceList_.follow(followed.source);
    segments_.showRows(rowsOf(followed.source), sources_[static_cast<size_t>(followed.source)]);
    for (const Piece& other : pieces_) {
      if (other.source == shownSource_ && other.state != PieceState::Waiting) showStatus(other);
    }
  }
  // The path line names the file being cut or joined.
  if (nm_ != nullptr) {
    nm_->setText(followed.sourcePath);
    nm_->redraw();
  }
}

void JobDisplay::onStarted(int piece) {
  if (piece < 0 || piece >= static_cast<int>(pieces_.size())) return;
  Piece& started = pieces_[static_cast<size_t>(piece)];
  started.state = PieceState::Converting;
  // The window follows the earliest piece under way.
  const bool followedDone =
      followed_ < 0 || pieces_[static_cast<size_t>(followed_)].state != PieceState::Converting;
  if (followedDone || piece < followed_) {
    if (!join_) progress_.clear();  // a join's bar follows the whole output
    follow(piece);
  }
  showStatus(started);
}

void JobDisplay::onProgress(int piece, qint64 done, qint64 total) {
  if (piece == followed_ || join_) progress_.show(done, total);
}

void JobDisplay::onFinished(int piece, JobExecutor::PieceOutcome outcome) {
  if (piece < 0 || piece >= static_cast<int>(pieces_.size())) return;
  Piece& finished = pieces_[static_cast<size_t>(piece)];
  switch (outcome) {
    case JobExecutor::PieceOutcome::Finished:
      finished.state = PieceState::Finished;
      break;
    case JobExecutor::PieceOutcome::Stopped:
      finished.state = PieceState::Stopped;
      break;
    case JobExecutor::PieceOutcome::Removed:
      if (finished.state != PieceState::Failed) finished.state = PieceState::Removed;
      break;
  }
  showStatus(finished);
  if (piece != followed_) return;
  // Follow the next piece under way, if any.
  for (int next = 0; next < static_cast<int>(pieces_.size()); ++next) {
    if (pieces_[static_cast<size_t>(next)].state == PieceState::Converting) {
      if (!join_) progress_.clear();
      follow(next);
      return;
    }
  }
}

void JobDisplay::onFailed(const QString& message, int piece) {
  failure_ = message;
  if (piece < 0 || piece >= static_cast<int>(pieces_.size())) return;
  Piece& failed = pieces_[static_cast<size_t>(piece)];
  failed.state = PieceState::Failed;
  if (failed.source != shownSource_) follow(piece);
  showStatus(failed);
}

void JobDisplay::onJobFinished(JobExecutor::JobResult result) {
  running_ = false;
  progress_.clear();
  // A piece still shown under way when the job ended was cut off by it. Stop
  // keeps its file; an error removed it, and one row shows the error.
  bool errorShown = std::any_of(pieces_.begin(), pieces_.end(), [](const Piece& piece) {
    return piece.state == PieceState::Failed;
  });
  for (Piece& piece : pieces_) {
    if (piece.state != PieceState::Converting) continue;
    if (result == JobExecutor::JobResult::Stopped) {
      piece.state = PieceState::Stopped;
    } else {
      piece.state = errorShown ? PieceState::Removed : PieceState::Failed;
      errorShown = true;
    }
    showStatus(piece);
  }
  // Pieces run side by side and finish in any order; a completed job ends
  // showing its last file's rows, as if it had run one piece after another.
  if (result == JobExecutor::JobResult::Completed && !pieces_.empty()) {
    const int last = static_cast<int>(pieces_.size()) - 1;
    if (pieces_.back().source != shownSource_) follow(last);
  }
  // What the user should know of the job as a whole, once, before its error.
  if (!note_.isEmpty()) {
    platform_.showInformation(&window_, note_);
  }
  if (result == JobExecutor::JobResult::Failed && !failure_.isEmpty()) {
    platform_.showError(&window_, failure_);
  }
  if (finished_) {
    Finished finished = std::move(finished_);
    finished_ = nullptr;
    finished(result);
  }
}

}  // namespace tarvex
