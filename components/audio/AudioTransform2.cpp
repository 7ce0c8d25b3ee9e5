#include "components/audio/AudioTransform2.h"

#include <algorithm>

namespace tarvex {

namespace {

void fadeSteps(SampleBlock& block, double from, double to, size_t width) {
  const size_t count = block.values.size() / width;
  if (count == 0) return;
  const double step = count > 1 ? (to - from) / static_cast<double>(count - 1) : 0.0;
  for (size_t i = 0; i < count; ++i) {
    const double gain = from + step * static_cast<double>(i);
    for (size_t c = 0; c < width; ++c) {
      float& value = block.values[i * width + c];
      value = static_cast<float>(value * gain);
    }
  }
  // Values past the last whole frame (a block that is not whole frames) end at `to`.
  for (size_t i = count * width; i < block.values.size(); ++i)
    block.values[i] = static_cast<float>(block.values[i] * to);
}

}  // namespace

void AudioTransform2::Fade(SampleBlock& block, float fromPercent, float toPercent) {
  fadeSteps(block, fromPercent / 100.0, toPercent / 100.0, 1);
}

void AudioTransform2::Fade(SampleBlock& block, float fromPercent, float toPercent, int channels) {
  fadeSteps(block, fromPercent / 100.0, toPercent / 100.0,
            static_cast<size_t>(std::max(1, channels)));
}

}  // namespace tarvex
