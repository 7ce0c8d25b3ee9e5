#include "sources/SplitPlanning.h"

#include <algorithm>

#include "sources/MulDiv.h"
#include "sources/TimeFormat.h"

namespace tarvex {

std::vector<Segment> planMarkedRanges(const listrecord& source) {
  std::vector<Segment> rows;
  const int count =
      std::min<int>(source.segmentCount,
                    static_cast<int>(std::min(source.beginTimes.size(), source.endTimes.size())));
  for (int j = 0; j < count; ++j) {
    rows.push_back({source.beginTimes[j], source.endTimes[j],
                    j == count - 1 ? kStatusUncertain : kStatusConfirmed});
  }
  return rows;
}

std::vector<Segment> planByTimePieces(int lengthSeconds, int pieceSeconds) {
  const int length = std::max(0, lengthSeconds);
  const int step = std::max(1, pieceSeconds);
  std::vector<Segment> rows;
  for (int64_t begin = 0; begin < length || (begin == 0 && length == 0); begin += step) {
    const int end = static_cast<int>(std::min<int64_t>(begin + step, length));
    rows.push_back({static_cast<int>(begin), end, kStatusUnconvert});
    if (length == 0) break;
  }
  return rows;
}

std::vector<Segment> planByCountPieces(int lengthSeconds, int pieceCount) {
  const int length = std::max(0, lengthSeconds);
  const int count = std::max(1, pieceCount);
  std::vector<Segment> rows;
  if (length == 0) {
    rows.push_back({0, 0, kStatusUnconvert});
    return rows;
  }
  for (int64_t k = 0; k < count; ++k) {
    const int begin = static_cast<int>(MulDiv(k, length, count));
    const int end = static_cast<int>(MulDiv(k + 1, length, count));
    if (end > begin) rows.push_back({begin, end, kStatusUnconvert});
  }
  return rows;
}

namespace {

int cutRangeCount(const listrecord& source) {
  const int stored = static_cast<int>(std::min(source.beginTimes.size(), source.endTimes.size()));
  const int count = std::min(source.segmentCount, stored);
  return count <= 1 ? std::min(count, 1) : count - 1;
}

}  // namespace

std::vector<UnifiedRange> customRangesFor(const listrecord& source) {
  std::vector<UnifiedRange> ranges;
  for (int k = 0; k < cutRangeCount(source); ++k) {
    ranges.push_back({source.beginTimes[k], source.endTimes[k]});
  }
  return ranges;
}

std::vector<UnifiedRange> unifiedRangesFor(const listrecord& shared, int lengthSeconds) {
  std::vector<UnifiedRange> ranges;
  for (int k = 0; k < cutRangeCount(shared); ++k) {
    const int begin = shared.beginTimes[k];
    if (begin > lengthSeconds) continue;  // past this source's end
    ranges.push_back({begin, std::min(shared.endTimes[k], lengthSeconds)});
  }
  return ranges;
}

int64_t sourceLengthMs(const listrecord& source) {
  if (source.lengthMs > 0) return source.lengthMs;
  return int64_t{std::max(0, source.lengthSeconds)} * 1000;
}

PieceSpan pieceSpan(int begin, int end, const listrecord& source) {
  const int64_t sourceMs = sourceLengthMs(source);
  PieceSpan span;
  span.beginMs = std::clamp<int64_t>(int64_t{begin} * 1000, 0, sourceMs);
  span.endMs = end >= source.lengthSeconds ? sourceMs
                                           : std::clamp<int64_t>(int64_t{end} * 1000, 0, sourceMs);
  span.endMs = std::max(span.endMs, span.beginMs);
  return span;
}

SegmentTexts segmentTexts(int begin, int end, const listrecord& source) {
  const PieceSpan span = pieceSpan(begin, end, source);
  // An end before the begin is shown as marked, so it can be corrected.
  const QString endText = end < begin ? FormatTime(end) : FormatMilliseconds(span.endMs);
  return {FormatTime(begin) + QStringLiteral(" - ") + endText, FormatMilliseconds(span.lengthMs())};
}

int totalPlannedSeconds(int functionChoice, const std::vector<listrecord>& sources) {
  if (sources.empty()) return 0;
  int64_t totalMs = 0;
  switch (functionChoice) {
    case 1:
    case 2:
      for (const listrecord& source : sources) totalMs += sourceLengthMs(source);
      break;
    case 0:
      for (const listrecord& source : sources) {
        for (const UnifiedRange& range : customRangesFor(source)) {
          totalMs += pieceSpan(range.begin, range.end, source).lengthMs();
        }
      }
      break;
    case 3: {
      const listrecord& first = sources.front();
      for (const listrecord& source : sources) {
        for (const UnifiedRange& range : unifiedRangesFor(first, source.lengthSeconds)) {
          totalMs += pieceSpan(range.begin, range.end, source).lengthMs();
        }
      }
      break;
    }
    default:
      break;
  }
  return static_cast<int>(std::clamp<int64_t>(roundedSeconds(totalMs), INT32_MIN, INT32_MAX));
}

}  // namespace tarvex
