#include "processing/verify/Alignment.h"

#include <cstddef>
#include <cstdlib>
#include <limits>

namespace tarvex::verify {

namespace {

// Below this mean square (about -100 dB of full scale) a window is silent.
constexpr double kSilentMeanSquare = 1e-10;

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
  double best = std::numeric_limits<double>::max();
  int bestOffset = 0;
  for (int offset = -maxOffset; offset <= maxOffset; ++offset) {
    const float* from = source.data() + shift + static_cast<std::ptrdiff_t>(offset) * channels;
    double sum = 0;
    for (size_t index = 0; index < count && sum <= best; ++index) {
      const double difference = double{output[index]} - from[index];
      sum += difference * difference;
    }
    if (sum < best || (sum == best && std::abs(offset) < std::abs(bestOffset))) {
      best = sum;
      bestOffset = offset;
    }
  }
  if (best <= planned / 2) alignment.offset = bestOffset;
  return alignment;
}

}  // namespace tarvex::verify
