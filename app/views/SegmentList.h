#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "app/views/WindowParts.h"
#include "sources/MarkingRules.h"
#include "sources/SplitPlanning.h"

namespace tarvex {

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

// The segment list: a view of the planned pieces of the selected source under
// the current function, the position bar's scale, the marking commands (the
// rules live in MarkingRules) and the total planned time.
class SegmentList {
 public:
  SegmentList(WindowParts& parts, std::function<void()> lvClick);

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

  WindowParts& parts_;
  MarkingRules rules_;
  std::function<void()> lvClick_;
  int current_ = 0;  // the row selected last, selected again when none is
  bool focused_ = false;
};

}  // namespace tarvex
