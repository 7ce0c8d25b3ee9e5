#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "sources/SplitPlanning.h"
#include "sources/WindowParts.h"

namespace tarvex {

inline const QString kOnlyMarkingFunctionsMessage =
    QStringLiteral("Only chose \"Custom\" or \"unification\" function, this button is usable.");
inline const QString kStartAfterEndMessage =
    QStringLiteral("Start-time must not be larger than end-time.");
inline const QString kPendingRowMessage =
    QStringLiteral("This item, the procedure will automatically process. Need not delete.");

// The segment list: the planned pieces of the selected source under the
// current function, the position bar's scale, the marking commands and the
// total planned time.
class SegmentList {
 public:
  SegmentList(WindowParts& parts, std::function<void()> lvClick);

  // Position bar for a source: its maximum and page size.
  void SetupPositionBar(const listrecord& source);
  // Usable span of the bar: maximum minus page size (at least 1).
  int PositionSpan() const;
  // Seconds at a bar value for a source of `lengthSeconds`.
  int secondsAtBar(int barValue, int lengthSeconds) const;

  void PlanCustom();
  void PlanByTime();
  void PlanByCount();
  void PlanUnification();
  // The planner of a function choice (0 to 3); other values plan nothing.
  void planFor(int functionChoice);

  void UpdateTotalTime();

  void MarkBegin();
  void MarkEnd();
  void ConfirmSegment();
  void RemoveSegment();
  void ResetSegments();
  void lv_timeClick();

  // The rows as shown; statuses are the runners' and the player's to change.
  int rowCount() const;
  QString status(int row) const;
  void setStatus(int row, const QString& status);
  void showRows(const std::vector<Segment>& rows, const listrecord& source);
  void clear();

 private:
  void showCurrentPosition(int lengthSeconds);
  listrecord* markedEntry();  // the selected source (Custom) or the first (Unification)
  bool marking() const;       // Custom or Unification
  void setPendingBound(bool begin);
  void refreshRow(int row, const listrecord& entry);

  WindowParts& parts_;
  std::function<void()> lvClick_;
};

}  // namespace tarvex
