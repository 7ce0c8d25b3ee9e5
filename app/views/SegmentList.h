#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "config/MainSettings.h"
#include "sources/MarkingRules.h"
#include "sources/SourceRecords.h"
#include "sources/SplitPlanning.h"

class QTreeWidget;
class QWidget;

namespace tarvex {

class PlatformServices;

namespace skin {
class SkinObject;
}

inline const QString kOnlyMarkingFunctionsMessage =
    QStringLiteral("Only chose \"Custom\" or \"unification\" function, this button is usable.");
inline const QString kStartAfterEndMessage =
    QStringLiteral("Start-time must not be larger than end-time.");
inline const QString kPendingRowMessage =
    QStringLiteral("This item, the procedure will automatically process. Need not delete.");

// The texts of the segment list's "Status" column; they exist only here.
inline const QString kStatusUncertain = QStringLiteral("Uncertain");
inline const QString kStatusConfirmed = QStringLiteral("OK");
inline const QString kStatusJustConfirmed = QStringLiteral("Ok");
inline const QString kStatusUnconvert = QStringLiteral("Unconvert");
inline const QString kStatusConverting = QStringLiteral("Converting");
inline const QString kStatusFinish = QStringLiteral("Finish");
inline const QString kStatusError = QStringLiteral("Error");
inline const QString kStatusStopped = QStringLiteral("Stopped");

QString statusText(SegmentStatus status);

// What the segment list shows, reads and marks.
struct SegmentListParts {
  QWidget& window;  // parent of message boxes
  PlatformServices& platform;
  const QTreeWidget& files;  // the source list, whose selected row is planned
  QTreeWidget& pieces;       // the list this view fills
  const MainSettings& settings;
  SourceRecords& sources;  // the marking commands change the marked ranges
};

// The segment list: a view of the planned pieces of the selected source under
// the current function, the position bar's scale, the marking commands (the
// rules live in MarkingRules) and the total planned time.
class SegmentList {
 public:
  SegmentList(const SegmentListParts& parts, std::function<void()> lvClick);

  // Draws on the position bar `pb`, the time label `timecaption` and the
  // total time `tataltime` from now on (any null: the skin lacks it).
  void attach(skin::SkinObject* pb, skin::SkinObject* timecaption, skin::SkinObject* tataltime);

  // Position bar for a source: its maximum and page size.
  void SetupPositionBar(const SourceRecord& source);
  // Usable span of the bar: maximum minus page size (at least 1).
  int PositionSpan() const;
  // Seconds at a bar value for a source of `lengthSeconds`.
  int secondsAtBar(int barValue, int lengthSeconds) const;

  void PlanCustom();
  void PlanByTime();
  void PlanByCount();
  void PlanUnification();
  // The planner of a function.
  void planFor(SplitFunction function);

  void UpdateTotalTime();

  void MarkBegin();
  void MarkEnd();
  void ConfirmSegment();
  void RemoveSegment();
  void ResetSegments();
  void lv_timeClick();
  // True from a click on a row until the source list takes the user's attention
  // back: Remove and Clear then act on the pieces, and Play plays a piece.
  bool hasFocus() const { return focused_; }
  void releaseFocus() { focused_ = false; }

  // The rows as shown; statuses are the runners' and the player's to change.
  int rowCount() const;
  QString status(int row) const;
  void setStatus(int row, const QString& status);
  void showRows(const std::vector<Segment>& rows, const SourceRecord& source);
  void clear();

 private:
  void showCurrentPosition(int lengthSeconds);
  // Where the bar "pb" stands (0 without one).
  int barPosition() const;
  // Shows the ranges of the marked source again, keeping the job statuses.
  void showMarkedRanges();
  // A refusal's message, if it has one.
  void tell(MarkingOutcome outcome);
  void setPendingBound(bool begin);

  QWidget& window_;
  PlatformServices& platform_;
  const QTreeWidget& files_;
  QTreeWidget& pieces_;
  const MainSettings& settings_;
  SourceRecords& sources_;
  skin::SkinObject* pb_ = nullptr;
  skin::SkinObject* timecaption_ = nullptr;
  skin::SkinObject* tataltime_ = nullptr;
  MarkingRules rules_;
  std::function<void()> lvClick_;
  int current_ = 0;  // the row selected last, selected again when none is
  bool focused_ = false;
};

}  // namespace tarvex
