#include "components/audio/AudioFile2.h"
#include "components/audio/AudioTransform2.h"

#include <gtest/gtest.h>

namespace tarvex {
namespace {

TEST(FadeTest, GainRunsLinearlyFromStartToEnd) {
  AudioTransform2 transform;
  SampleBlock block;
  block.values.assign(101, 1.0f);
  transform.Fade(block, 0, 100);
  ASSERT_EQ(block.upperBound(), 101);
  EXPECT_FLOAT_EQ(block.values.front(), 0.0f);
  EXPECT_FLOAT_EQ(block.values[50], 0.5f);
  EXPECT_FLOAT_EQ(block.values.back(), 1.0f);

  block.values.assign(101, -0.8f);
  transform.Fade(block, 100, 0);
  EXPECT_FLOAT_EQ(block.values.front(), -0.8f);
  EXPECT_FLOAT_EQ(block.values[50], -0.4f);
  EXPECT_FLOAT_EQ(block.values.back(), 0.0f);

  block.values.assign(11, 1.0f);
  transform.Fade(block, 50, 70);
  EXPECT_FLOAT_EQ(block.values.front(), 0.5f);
  EXPECT_FLOAT_EQ(block.values[5], 0.6f);
  EXPECT_FLOAT_EQ(block.values.back(), 0.7f);
}

TEST(FadeTest, PerFrameGainIsEqualAcrossChannels) {
  AudioTransform2 transform;
  SampleBlock block;
  block.values.assign(2 * 5, 1.0f);
  transform.Fade(block, 0, 100, 2);
  for (int frame = 0; frame < 5; ++frame) {
    EXPECT_FLOAT_EQ(block.values[frame * 2], frame * 0.25f);
    EXPECT_FLOAT_EQ(block.values[frame * 2 + 1], frame * 0.25f);
  }
}

TEST(FadeTest, EmptyAndSingleValueBlocksAreSafe) {
  AudioTransform2 transform;
  SampleBlock empty;
  transform.Fade(empty, 0, 100);
  EXPECT_EQ(empty.upperBound(), 0);
  SampleBlock one{{0.5f}};
  transform.Fade(one, 100, 0);
  EXPECT_FLOAT_EQ(one.values[0], 0.5f);  // the fade starts at its first value
}

TEST(FormatCheckTest, Mp3BitratesFollowTheMpegVersionOfTheRate) {
  AudioFile2 writer;
  for (const int rate : {32000, 44100, 48000}) {
    EXPECT_TRUE(writer.CheckMp3Format(rate, 32, 2));
    EXPECT_TRUE(writer.CheckMp3Format(rate, 320, 2));
    EXPECT_FALSE(writer.CheckMp3Format(rate, 8, 2));
    EXPECT_FALSE(writer.CheckMp3Format(rate, 144, 2));
  }
  for (const int rate : {16000, 22050, 24000}) {
    EXPECT_TRUE(writer.CheckMp3Format(rate, 8, 1));
    EXPECT_TRUE(writer.CheckMp3Format(rate, 144, 1));
    EXPECT_TRUE(writer.CheckMp3Format(rate, 160, 1));
    EXPECT_FALSE(writer.CheckMp3Format(rate, 192, 1));
  }
  for (const int rate : {8000, 11025, 12000}) {
    EXPECT_TRUE(writer.CheckMp3Format(rate, 8, 5));
    EXPECT_TRUE(writer.CheckMp3Format(rate, 64, 5));
    EXPECT_FALSE(writer.CheckMp3Format(rate, 80, 5));
  }
  EXPECT_FALSE(writer.CheckMp3Format(96000, 128, 2));
  EXPECT_FALSE(writer.CheckMp3Format(44100, 128, 0));
  EXPECT_FALSE(writer.CheckMp3Format(44100, 128, 6));
  EXPECT_FALSE(writer.CheckMp3Format(44100, 100, 2));
}

TEST(FormatCheckTest, OggFollowsTheManagedEncoderSetUp) {
  AudioFile2 writer;
  EXPECT_TRUE(writer.CheckOggFormat(44100, 2, 128, 128, 128));
  EXPECT_TRUE(writer.CheckOggFormat(44100, 2, 128, 0, 0));
  EXPECT_TRUE(writer.CheckOggFormat(44100, 2, 128, 64, 192));
  EXPECT_FALSE(writer.CheckOggFormat(48000, 2, 8, 8, 8));    // too low for the rate
  EXPECT_FALSE(writer.CheckOggFormat(8000, 1, 320, 320, 320));  // too high for the rate
  EXPECT_FALSE(writer.CheckOggFormat(44100, 0, 128, 0, 0));
  EXPECT_FALSE(writer.CheckOggFormat(44100, 2, 0, 0, 0));
}

}  // namespace
}  // namespace tarvex
