#pragma once

#include <cstdint>
#include <vector>

namespace tarvex {

// A waveform picture: for each pixel column the lowest and highest sample
// value (all channels together, nominal range -1..1) of the stretch of audio
// the column covers.
struct WaveformPeaks {
  std::vector<float> low;
  std::vector<float> high;
  bool exact = false;  // from decoded samples (false: the estimate read without decoding)

  int width() const { return static_cast<int>(high.size()); }
  bool empty() const { return high.empty(); }
};

// The column a frame falls in when `totalFrames` are spread over `width` columns.
inline int peakColumn(int64_t frame, int64_t totalFrames, int width) {
  if (totalFrames <= 0 || width <= 0) return 0;
  const int64_t column = frame * width / totalFrames;
  return static_cast<int>(column < 0 ? 0 : (column >= width ? width - 1 : column));
}

// The first frame of a column (the inverse of peakColumn, rounded up).
inline int64_t peakColumnStart(int column, int64_t totalFrames, int width) {
  if (width <= 0) return 0;
  return (int64_t{column} * totalFrames + width - 1) / width;
}

}  // namespace tarvex
