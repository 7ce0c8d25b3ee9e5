#pragma once

namespace tarvex {

// What a row of the segment list stands for before a job works on it.
enum class SegmentStatus {
  Planned,        // a piece cut by time or count
  Pending,        // the pending range, still being marked
  Confirmed,      // a confirmed range
  JustConfirmed,  // the range the last Ok confirmed
};

// A stretch on the whole-second scale the lists show: a row of the segment
// list, a marked range a job cuts, or a found range rounded to whole seconds
// before it is marked.
struct Segment {
  int begin = 0;
  int end = 0;
  SegmentStatus status = SegmentStatus::Planned;
  // The marked range's row in the segment list, for a range a job cuts from
  // a source's marks (under Unification: a row of the first source's).
  int row = 0;

  friend bool operator==(const Segment&, const Segment&) = default;
};

}  // namespace tarvex
