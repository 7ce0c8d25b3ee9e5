#include "sources/MarkingRules.h"

#include <algorithm>

namespace tarvex {
namespace {

// A record always ends with its pending range; one lost by a bad edit is put back.
MarkedRange& pendingRange(SourceRecord& source) {
  if (source.ranges.empty() || source.ranges.back().state != RangeState::Pending) {
    source.ranges.push_back({0, source.lengthSeconds, RangeState::Pending});
  }
  return source.ranges.back();
}

}  // namespace

MarkingOutcome MarkingRules::setPendingBound(SplitFunction function, int row, int seconds,
                                             bool begin) {
  if (!records_.contains(row)) return MarkingOutcome::NoSource;
  if (!marksRanges(function)) return MarkingOutcome::NotAMarkingFunction;
  SourceRecord* source = records_.markedSource(function, row);
  if (source == nullptr) return MarkingOutcome::NoSource;
  const int clamped = std::clamp(seconds, 0, std::max(0, source->lengthSeconds));
  MarkedRange& pending = pendingRange(*source);
  (begin ? pending.begin : pending.end) = clamped;
  (begin ? pending.exactFirst : pending.exactEnd) = -1;
  return MarkingOutcome::Done;
}

MarkingOutcome MarkingRules::markBegin(SplitFunction function, int row, int seconds) {
  return setPendingBound(function, row, seconds, true);
}

MarkingOutcome MarkingRules::markEnd(SplitFunction function, int row, int seconds) {
  return setPendingBound(function, row, seconds, false);
}

MarkingOutcome MarkingRules::confirm(SplitFunction function, int row) {
  if (!records_.contains(row)) return MarkingOutcome::NoSource;
  if (!marksRanges(function)) return MarkingOutcome::NotAMarkingFunction;
  SourceRecord* source = records_.markedSource(function, row);
  if (source == nullptr) return MarkingOutcome::NoSource;
  MarkedRange& pending = pendingRange(*source);
  if (pending.end < pending.begin) return MarkingOutcome::StartAfterEnd;
  pending.state = RangeState::JustConfirmed;
  source->ranges.push_back({0, source->lengthSeconds, RangeState::Pending});
  return MarkingOutcome::Done;
}

MarkingOutcome MarkingRules::remove(SplitFunction function, int row, int range) {
  if (!marksRanges(function) || !records_.contains(row)) return MarkingOutcome::NoSource;
  SourceRecord* source = records_.markedSource(function, row);
  if (source == nullptr || range < 0 || range >= static_cast<int>(source->ranges.size())) {
    return MarkingOutcome::NoSource;
  }
  if (source->ranges[static_cast<size_t>(range)].state == RangeState::Pending) {
    return MarkingOutcome::PendingRangeKept;
  }
  source->ranges.erase(source->ranges.begin() + range);
  return MarkingOutcome::Done;
}

MarkingOutcome MarkingRules::reset(SplitFunction function, int row) {
  SourceRecord* source = records_.markedSource(function, row);
  if (source == nullptr) return MarkingOutcome::NoSource;
  source->resetRanges();
  return MarkingOutcome::Done;
}

void MarkingRules::settle(SplitFunction function, int row) {
  SourceRecord* source = records_.markedSource(function, row);
  if (source == nullptr) return;
  for (MarkedRange& range : source->ranges) {
    if (range.state == RangeState::JustConfirmed) range.state = RangeState::Confirmed;
  }
}

}  // namespace tarvex
