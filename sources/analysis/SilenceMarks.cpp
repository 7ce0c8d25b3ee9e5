#include "sources/analysis/SilenceMarks.h"

#include <algorithm>

#include "sources/SampleSpan.h"
#include "sources/analysis/SoundSeconds.h"

namespace tarvex {

std::vector<MarkedRange> silenceMarks(const SourceRecord& source, const SilenceResult& result) {
  std::vector<MarkedRange> marks;
  const std::vector<Segment> seconds =
      outwardToWholeSeconds(result.soundRanges, result.sampleRate, source.lengthSeconds);
  // Rows line up with the sounds only when none was merged or dropped.
  const bool oneRowPerSound = seconds.size() == result.soundRanges.size() &&
                              result.sampleRate == source.sampleRate && source.sampleRate > 0;
  for (size_t index = 0; index < seconds.size(); ++index) {
    MarkedRange mark(seconds[index].begin, seconds[index].end, RangeState::Confirmed);
    if (oneRowPerSound) {
      const SampleSpan& sound = result.soundRanges[index];
      mark.exactFirst = std::clamp<int64_t>(sound.first, 0, source.frames);
      mark.exactEnd = std::clamp<int64_t>(sound.end, mark.exactFirst, source.frames);
    }
    marks.push_back(std::move(mark));
  }
  return marks;
}

}  // namespace tarvex
