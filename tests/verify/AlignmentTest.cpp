#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "processing/verify/Alignment.h"
#include "processing/verify/DecodedWindow.h"

namespace tarvex::verify {
namespace {

constexpr int kMaxOffset = 2304;

std::vector<float> noise(size_t frames, int channels, unsigned seed) {
  std::mt19937 generator(seed);
  std::uniform_real_distribution<float> value(-0.5F, 0.5F);
  std::vector<float> samples(frames * channels);
  for (float& sample : samples) sample = value(generator);
  return samples;
}

// The output window of `frames` frames that starts `offset` frames after
// the planned position in `source` (which begins kMaxOffset before it).
std::vector<float> cutAt(const std::vector<float>& source, int offset, size_t frames,
                         int channels) {
  const auto first = source.begin() + (kMaxOffset + offset) * channels;
  return {first, first + static_cast<std::ptrdiff_t>(frames * channels)};
}

TEST(Alignment, FindsTheExactOffsetEitherWayUpToTheSearchsEdge) {
  const size_t frames = 4096;
  const std::vector<float> source = noise(frames + 2 * kMaxOffset, 2, 7);
  for (int offset : {0, 1, -1, 1105, -1152, kMaxOffset, -kMaxOffset}) {
    const Alignment found = alignWindow(cutAt(source, offset, frames, 2), source, 2, kMaxOffset);
    ASSERT_TRUE(found.offset.has_value()) << offset;
    EXPECT_EQ(*found.offset, offset);
    EXPECT_FALSE(found.silent);
  }
}

// A steady tone fits at every period; with the small differences of a lossy
// encode one of those repeats may fit a hair better than the planned one.
TEST(Alignment, ASteadyToneBlurredByNoiseAlignsAtThePlanNotAPeriodAway) {
  const size_t frames = 4096;
  std::vector<float> source(frames + 2 * kMaxOffset);
  for (size_t index = 0; index < source.size(); ++index) {
    source[index] =
        0.5F * static_cast<float>(std::sin(2 * M_PI * static_cast<double>(index) / 100));
  }
  std::vector<float> output = cutAt(source, 0, frames, 1);
  const std::vector<float> blur = noise(frames, 1, 11);
  for (size_t index = 0; index < frames; ++index) output[index] += 0.01F * blur[index];
  const Alignment found = alignWindow(output, source, 1, kMaxOffset);
  EXPECT_EQ(found.offset, std::optional<int64_t>(0));
}

TEST(Alignment, SilentPlannedAudioIsNotAlignedAndUnrelatedAudioMatchesNowhere) {
  const size_t frames = 2048;
  const std::vector<float> silence((frames + 2 * kMaxOffset) * 2, 0.0F);
  const Alignment silent = alignWindow(noise(frames, 2, 1), silence, 2, kMaxOffset);
  EXPECT_TRUE(silent.silent);
  EXPECT_FALSE(silent.offset.has_value());

  const Alignment unrelated =
      alignWindow(noise(frames, 2, 2), noise(frames + 2 * kMaxOffset, 2, 3), 2, kMaxOffset);
  EXPECT_FALSE(unrelated.silent);
  EXPECT_FALSE(unrelated.offset.has_value());
}

TEST(Alignment, TheLargestStepIsMeasuredWithinEachChannel) {
  // Left 0, 0.5, 0.25; right 0, -0.1, 0.1: steps 0.5 and 0.2, never across
  // channels (0.5 to -0.1 would be 0.6).
  EXPECT_DOUBLE_EQ(largestStep({0.0F, 0.0F, 0.5F, -0.1F, 0.25F, 0.1F}, 2), 0.5);
  EXPECT_DOUBLE_EQ(largestStep({0.3F}, 1), 0.0);
}

}  // namespace
}  // namespace tarvex::verify
