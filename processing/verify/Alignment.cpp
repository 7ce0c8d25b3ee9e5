#include "processing/verify/Alignment.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <limits>

namespace tarvex::verify {

namespace {

// Below this mean square (about -100 dB of full scale) a window is silent.
constexpr double kSilentMeanSquare = 1e-10;
// Offsets whose squared difference is within this factor of the least are
// taken as equally close.
constexpr double kNearlyAsClose = 1.05;

double energy(const float* values, size_t count) {
  double sum = 0;
  for (size_t index = 0; index < count; ++index) sum += double{values[index]} * values[index];
  return sum;
}

}  // namespace

Alignment alignWindow(const std::vector<float>& output, const std::vector<float>& source,
                      int channels, int maxOffset) {
  Alignment alignment;
  const size_t count = output.size();
  const size_t shift = static_cast<size_t>(maxOffset) * channels;
  if (count == 0 || source.size() < count + 2 * shift) {
    alignment.silent = true;
    return alignment;
  }
  const double planned = energy(source.data() + shift, count);
  if (planned <= kSilentMeanSquare * static_cast<double>(count)) {
    alignment.silent = true;
    return alignment;
  }
  // Sums of squared differences by offset; a sum is left unfinished (at
  // infinity) once it passes what could still count as a match.
  std::vector<double> sums(static_cast<size_t>(2 * maxOffset + 1),
                           std::numeric_limits<double>::infinity());
  double best = std::numeric_limits<double>::max();
  for (int offset = -maxOffset; offset <= maxOffset; ++offset) {
    const float* from = source.data() + shift + static_cast<std::ptrdiff_t>(offset) * channels;
    const double limit = best * kNearlyAsClose;
    double sum = 0;
    for (size_t index = 0; index < count && sum <= limit; ++index) {
      const double difference = double{output[index]} - from[index];
      sum += difference * difference;
    }
    if (sum > limit) continue;
    sums[static_cast<size_t>(offset + maxOffset)] = sum;
    best = std::min(best, sum);
  }
  // Among offsets nearly as close as the closest (a steady tone repeats
  // every period, and a lossy encode blurs which repeat fits best), the one
  // nearest the plan; an exact copy matches at its own offset alone.
  int bestOffset = 0;
  bool chosen = false;
  for (int distance = 0; distance <= maxOffset && !chosen; ++distance) {
    for (int offset : {-distance, distance}) {
      if (!chosen && sums[static_cast<size_t>(offset + maxOffset)] <= best * kNearlyAsClose) {
        bestOffset = offset;
        chosen = true;
      }
    }
  }
  if (best <= planned / 2) alignment.offset = bestOffset;
  return alignment;
}

}  // namespace tarvex::verify
