#include "sources/analysis/SoundSeconds.h"

#include <algorithm>

namespace tarvex {

std::vector<Segment> outwardToWholeSeconds(const std::vector<SampleSpan>& ranges, int sampleRate,
                                           int lengthSeconds) {
  std::vector<Segment> marks;
  if (sampleRate <= 0) return marks;
  const int64_t tolerance = sampleRate / 100;  // 10 ms
  const auto second = [lengthSeconds](int64_t value) {
    return static_cast<int>(std::clamp<int64_t>(value, 0, lengthSeconds));
  };
  int64_t previousEndFrame = 0;
  for (const SampleSpan& range : ranges) {
    Segment mark;
    mark.begin = second((range.first + tolerance) / sampleRate);
    mark.end = second((std::max<int64_t>(0, range.end - tolerance) + sampleRate - 1) / sampleRate);
    if (mark.end <= mark.begin) continue;
    if (!marks.empty() && mark.begin <= marks.back().end) {
      // The pause between them: one boundary nearest its middle.
      const int64_t middle = (previousEndFrame + range.first) / 2;
      const int boundary = second((middle + sampleRate / 2) / sampleRate);
      if (boundary <= marks.back().begin || boundary >= mark.end) {
        marks.back().end = std::max(marks.back().end, mark.end);
        previousEndFrame = std::max(previousEndFrame, range.end);
        continue;
      }
      marks.back().end = boundary;
      mark.begin = boundary;
    }
    marks.push_back(mark);
    previousEndFrame = range.end;
  }
  return marks;
}

}  // namespace tarvex
