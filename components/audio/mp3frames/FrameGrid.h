#pragma once

#include <cstdint>

namespace tarvex::mp3frames {

// Division rounding up and down (towards minus infinity), for positions on
// a grid of frames that may lie before its start.
inline int64_t ceilDiv(int64_t value, int64_t divisor) {
  return value >= 0 ? (value + divisor - 1) / divisor : -((-value) / divisor);
}

inline int64_t floorDiv(int64_t value, int64_t divisor) {
  return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

// `value` modulo `divisor`, in [0, divisor).
inline int64_t floorMod(int64_t value, int64_t divisor) {
  return value - floorDiv(value, divisor) * divisor;
}

}  // namespace tarvex::mp3frames
