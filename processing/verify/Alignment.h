#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace tarvex::verify {

// How a window of an output lines up with its source.
struct Alignment {
  // Source samples the output is shifted by (see PartCheck); null when no
  // offset within the search makes the two alike.
  std::optional<int64_t> offset;
  bool silent = false;  // the planned source audio is silent: nothing to align
};

// Finds the offset within ±`maxOffset` at which `output` (frames of
// `channels` interleaved values) is closest to `source`, a window that begins
// `maxOffset` frames before the planned position and is 2 × `maxOffset`
// frames longer: the least sum of squared differences, and among offsets
// within 5 % of it the one nearest 0 (a steady tone fits at every period).
// An offset counts as found when that sum stays under half the planned
// audio's energy.
Alignment alignWindow(const std::vector<float>& output, const std::vector<float>& source,
                      int channels, int maxOffset);

}  // namespace tarvex::verify
