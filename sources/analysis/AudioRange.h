#pragma once

#include <cstdint>
#include <vector>

namespace tarvex {

// A stretch of a source in sample frames: begin included, end excluded.
struct AudioRange {
  int64_t beginFrame = 0;
  int64_t endFrame = 0;

  bool operator==(const AudioRange&) const = default;
};

// A range on the whole-second scale of the source list's marks.
struct SecondsRange {
  int begin = 0;
  int end = 0;

  bool operator==(const SecondsRange&) const = default;
};

// Sounding ranges as whole-second marks: each begin rounds down and each end
// up, so no sound is cut off, except that an edge within 10 ms past a whole
// second (two of the detector's 5 ms windows) is taken as that second; ends
// stop at `lengthSeconds`. A pause keeps its cut even when rounding closes or
// overlaps it: the two ranges then meet at the whole second nearest the
// pause's middle (they are joined only when that would leave one empty).
std::vector<SecondsRange> outwardToWholeSeconds(const std::vector<AudioRange>& ranges,
                                                int sampleRate, int lengthSeconds);

// Frames to milliseconds at `sampleRate`, rounded to the nearest.
inline int64_t framesToMs(int64_t frames, int sampleRate) {
  return sampleRate <= 0 ? 0 : (frames * 1000 + sampleRate / 2) / sampleRate;
}

}  // namespace tarvex
