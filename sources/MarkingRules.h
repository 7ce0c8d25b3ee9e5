#pragma once

#include "config/SplitFunction.h"
#include "sources/SourceRecords.h"

namespace tarvex {

// What a marking command did; the window turns a refusal into its message.
enum class MarkingOutcome {
  Done,
  NoSource,             // no source to mark (nothing happens, nothing is shown)
  NotAMarkingFunction,  // Begin, End or Ok under a function that cuts by time or count
  StartAfterEnd,        // Ok on a pending range that ends before it begins
  PendingRangeKept,     // the pending range cannot be removed
};

// The marking rules of Custom and Unification on the records: Begin and End
// move the pending (last) range's bounds, Ok confirms it and appends a new
// pending range over the whole source, a confirmed range can be removed, and
// reset leaves one pending range. Under Unification the first source's ranges
// are the shared ones, whichever row the command is given on; moving another
// source to the top makes its ranges the shared ones.
class MarkingRules {
 public:
  explicit MarkingRules(SourceRecords& records) : records_(records) {}

  // `seconds` is the position bar's reading, kept inside the marked source.
  MarkingOutcome markBegin(SplitFunction function, int row, int seconds);
  MarkingOutcome markEnd(SplitFunction function, int row, int seconds);
  MarkingOutcome confirm(SplitFunction function, int row);
  // Removes confirmed range `range` of the source marked for `row`.
  MarkingOutcome remove(SplitFunction function, int row, int range);
  // One pending range over the whole source again (the shared ranges under
  // Unification).
  MarkingOutcome reset(SplitFunction function, int row);
  // A re-plan of the segment list: ranges confirmed just now read as
  // confirmed ones from here on.
  void settle(SplitFunction function, int row);

 private:
  MarkingOutcome setPendingBound(SplitFunction function, int row, int seconds, bool begin);

  SourceRecords& records_;
};

}  // namespace tarvex
