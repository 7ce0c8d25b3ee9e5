#include "sources/SplitPlanning.h"

#include <algorithm>

#include "sources/MulDiv.h"
#include "sources/TimeFormat.h"

namespace tarvex {

namespace {

SegmentStatus statusOf(RangeState state) {
  switch (state) {
    case RangeState::Pending:
      return SegmentStatus::Pending;
    case RangeState::JustConfirmed:
      return SegmentStatus::JustConfirmed;
    case RangeState::Confirmed:
      break;
  }
  return SegmentStatus::Confirmed;
}

}  // namespace

std::vector<Segment> planMarkedRanges(const SourceRecord& source) {
  std::vector<Segment> rows;
  for (const MarkedRange& range : source.ranges) {
    rows.push_back({range.begin, range.end, statusOf(range.state)});
  }
  return rows;
}

std::vector<Segment> planByTimePieces(int lengthSeconds, int pieceSeconds) {
  const int length = std::max(0, lengthSeconds);
  const int step = std::max(1, pieceSeconds);
  std::vector<Segment> rows;
  for (int64_t begin = 0; begin < length || (begin == 0 && length == 0); begin += step) {
    const int end = static_cast<int>(std::min<int64_t>(begin + step, length));
    rows.push_back({static_cast<int>(begin), end, SegmentStatus::Planned});
    if (length == 0 || rows.size() > static_cast<size_t>(kMostPiecesPerJob)) break;
  }
  return rows;
}

std::vector<Segment> planByCountPieces(int lengthSeconds, int pieceCount) {
  const int length = std::max(0, lengthSeconds);
  const int count = std::max(1, pieceCount);
  std::vector<Segment> rows;
  if (length == 0) {
    rows.push_back({0, 0, SegmentStatus::Planned});
    return rows;
  }
  for (int64_t k = 0; k < count; ++k) {
    const int begin = static_cast<int>(MulDiv(k, length, count));
    const int end = static_cast<int>(MulDiv(k + 1, length, count));
    if (end > begin) rows.push_back({begin, end, SegmentStatus::Planned});
    if (rows.size() > static_cast<size_t>(kMostPiecesPerJob)) break;
  }
  return rows;
}

namespace {

// The pending-range rule: a lone pending range is cut (the whole source, or
// what Begin and End made of it); otherwise the pending last range is not.
int cutRangeCount(const SourceRecord& source) {
  const int count = static_cast<int>(source.ranges.size());
  return count <= 1 ? count : count - 1;
}

}  // namespace

std::vector<Segment> customRangesFor(const SourceRecord& source) {
  std::vector<Segment> ranges;
  for (int k = 0; k < cutRangeCount(source); ++k) {
    const MarkedRange& range = source.ranges[static_cast<size_t>(k)];
    ranges.push_back({range.begin, range.end, statusOf(range.state), k});
  }
  return ranges;
}

std::vector<Segment> unifiedRangesFor(const SourceRecord& shared, int lengthSeconds) {
  std::vector<Segment> ranges;
  for (int k = 0; k < cutRangeCount(shared); ++k) {
    const MarkedRange& range = shared.ranges[static_cast<size_t>(k)];
    if (range.begin > lengthSeconds) continue;  // past this source's end
    ranges.push_back({range.begin, std::min(range.end, lengthSeconds), statusOf(range.state), k});
  }
  return ranges;
}

int64_t sourceLengthMs(const SourceRecord& source) {
  if (source.durationMs > 0) return source.durationMs;
  return int64_t{std::max(0, source.lengthSeconds)} * 1000;
}

namespace {

// The record a row's figures are measured on: the source itself, or for one
// that knows no samples (nothing probed it) `standIn`, holding its length in
// milliseconds as samples at 1000 per second.
const SourceRecord& measuredOn(const SourceRecord& source, SourceRecord& standIn) {
  if (source.frames > 0) return source;
  standIn.sampleRate = 1000;
  standIn.frames = sourceLengthMs(source);
  standIn.durationMs = standIn.frames;
  standIn.lengthSeconds = source.lengthSeconds;
  return standIn;
}

}  // namespace

SegmentTexts segmentTexts(int begin, int end, const SourceRecord& record) {
  SourceRecord standIn;
  const SourceRecord& source = measuredOn(record, standIn);
  const SampleSpan span = secondsSpan(begin, end, source);
  // An end before the begin is shown as marked, so it can be corrected.
  const QString endText =
      end < begin ? FormatTime(end) : FormatMilliseconds(msOfSamples(span.end, source));
  return {FormatTime(begin) + QStringLiteral(" - ") + endText,
          FormatMilliseconds(msOfSamples(span.frames(), source))};
}

std::vector<Segment> cutRangesFor(SplitFunction function, const std::vector<SourceRecord>& sources,
                                  int row) {
  if (row < 0 || row >= static_cast<int>(sources.size())) return {};
  const SourceRecord& source = sources[static_cast<size_t>(row)];
  if (function == SplitFunction::Unification) {
    return unifiedRangesFor(sources.front(), source.lengthSeconds);
  }
  return customRangesFor(source);
}

int totalPlannedSeconds(SplitFunction function, const std::vector<SourceRecord>& sources) {
  if (sources.empty()) return 0;
  int64_t totalMs = 0;
  if (marksRanges(function)) {
    for (int row = 0; row < static_cast<int>(sources.size()); ++row) {
      SourceRecord standIn;
      const SourceRecord& source = measuredOn(sources[static_cast<size_t>(row)], standIn);
      for (const Segment& range : cutRangesFor(function, sources, row)) {
        totalMs += msOfSamples(secondsSpan(range.begin, range.end, source).frames(), source);
      }
    }
  } else {
    for (const SourceRecord& source : sources) totalMs += sourceLengthMs(source);
  }
  return static_cast<int>(std::clamp<int64_t>(roundedSeconds(totalMs), INT32_MIN, INT32_MAX));
}

}  // namespace tarvex
