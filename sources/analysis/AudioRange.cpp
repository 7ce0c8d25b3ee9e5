#include "sources/analysis/AudioRange.h"

#include <algorithm>

namespace tarvex {

std::vector<SecondsRange> outwardToWholeSeconds(const std::vector<AudioRange>& ranges,
                                                int sampleRate, int lengthSeconds) {
  std::vector<SecondsRange> marks;
  if (sampleRate <= 0) return marks;
  for (const AudioRange& range : ranges) {
    SecondsRange mark;
    mark.begin =
        static_cast<int>(std::clamp<int64_t>(range.beginFrame / sampleRate, 0, lengthSeconds));
    mark.end = static_cast<int>(
        std::clamp<int64_t>((range.endFrame + sampleRate - 1) / sampleRate, 0, lengthSeconds));
    if (mark.end <= mark.begin) continue;
    if (!marks.empty() && mark.begin <= marks.back().end) {
      marks.back().end = std::max(marks.back().end, mark.end);
      continue;
    }
    marks.push_back(mark);
  }
  return marks;
}

}  // namespace tarvex
