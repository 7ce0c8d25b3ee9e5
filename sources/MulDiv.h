#pragma once

#include <cstdint>

namespace tarvex {

// a × b ÷ c with a wide intermediate, rounded to the nearest integer (halves
// away from zero). Every conversion between seconds, milliseconds, sample
// frames, bar units and progress goes through it. A divisor of 0 gives -1.
constexpr int64_t MulDiv(int64_t a, int64_t b, int64_t c) {
  if (c == 0) return -1;
  const __int128 product = static_cast<__int128>(a) * b;
  const bool negative = (product < 0) != (c < 0);
  const __int128 magnitude = product < 0 ? -product : product;
  const __int128 divisor = c < 0 ? -static_cast<__int128>(c) : c;
  const __int128 rounded = (magnitude + divisor / 2) / divisor;
  return static_cast<int64_t>(negative ? -rounded : rounded);
}

}  // namespace tarvex
