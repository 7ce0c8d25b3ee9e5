#include "processing/verify/DecodedWindow.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "components/audio/AudioFile2.h"

namespace tarvex::verify {

std::vector<float> readWindow(AudioFile2& reader, int64_t first, int64_t count) {
  const int channels = reader.Channels();
  std::vector<float> window(static_cast<size_t>(std::max<int64_t>(count, 0)) * channels, 0.0F);
  const int64_t from = std::clamp<int64_t>(first, 0, reader.Samples());
  const int64_t to = std::clamp<int64_t>(first + count, 0, reader.Samples());
  if (to <= from) return window;
  reader.Seek(from);
  auto at = window.begin() + static_cast<std::ptrdiff_t>((from - first) * channels);
  int64_t left = to - from;
  while (left > 0) {
    const SampleBlock block = reader.ReadBlock(static_cast<int>(std::min<int64_t>(left, 65536)));
    if (block.values.empty()) break;
    const int64_t frames = std::min<int64_t>(block.upperBound() / channels, left);
    at = std::copy_n(block.values.begin(), frames * channels, at);
    left -= frames;
  }
  return window;
}

double largestStep(const std::vector<float>& samples, int channels) {
  double largest = 0;
  for (size_t index = static_cast<size_t>(channels); index < samples.size(); ++index) {
    largest = std::max(largest, std::fabs(double{samples[index]} - samples[index - channels]));
  }
  return largest;
}

}  // namespace tarvex::verify
