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

// Frames to milliseconds at `sampleRate`, rounded to the nearest.
inline int64_t framesToMs(int64_t frames, int sampleRate) {
  return sampleRate <= 0 ? 0 : (frames * 1000 + sampleRate / 2) / sampleRate;
}

}  // namespace tarvex
