#include <gtest/gtest.h>

#include "processing/SourceFrames.h"

namespace tarvex {
namespace {

SourceFrames source(int64_t samples, int rate) {
  SourceFrames frames;
  frames.samples = samples;
  frames.sampleRate = rate;
  frames.channels = 2;
  frames.durationMs = rate > 0 ? (samples * 1000 + rate / 2) / rate : 0;
  return frames;
}

TEST(SourceFrames, WholeSecondsMapThroughTheReadersLength) {
  const SourceFrames frames = source(int64_t{125} * 22050, 22050);
  EXPECT_EQ(frames.beginFrame(0), 0);
  EXPECT_EQ(frames.beginFrame(60), 60 * 22050);
  EXPECT_EQ(frames.endFrame(120), 120 * 22050);
  EXPECT_EQ(frames.endFrame(125), 125 * 22050);
  EXPECT_EQ(frames.framesFor(5), 5 * 22050);
  EXPECT_EQ(frames.framesFor(0), 0);
}

TEST(SourceFrames, AnEndAtTheWholeSecondLengthKeepsTheLastFraction) {
  const SourceFrames frames = source(121275, 22050);  // 5.5 s
  EXPECT_EQ(frames.endFrame(4), 4 * 22050);
  EXPECT_EQ(frames.endFrame(5), 121275);
  EXPECT_EQ(frames.endFrame(9), 121275) << "never past the source";
  EXPECT_EQ(frames.beginFrame(9), 121275);
}

TEST(SourceFrames, TwentyFourHourSourcesDoNotOverflow) {
  const int64_t day = int64_t{86400} * 48000;  // above 2^31 frames
  const SourceFrames frames = source(day, 48000);
  EXPECT_EQ(frames.beginFrame(86399), int64_t{86399} * 48000);
  EXPECT_EQ(frames.endFrame(86400), day);
  EXPECT_EQ(frames.endFrame(50000) - frames.beginFrame(45000), int64_t{5000} * 48000);
}

TEST(SourceFrames, BlocksStaySmallAndInRange) {
  EXPECT_EQ(source(1000, 44100).regularBlockFrames(), 8820);
  EXPECT_EQ(source(1000, 0).regularBlockFrames(), 1);
  EXPECT_EQ(blockRequest(-5), 0);
  EXPECT_GT(blockRequest(int64_t{1} << 40), 0);
}

}  // namespace
}  // namespace tarvex
