#pragma once

#include "components/audio/SampleBlock.h"

namespace tarvex {

// Level changes on sample blocks.
class AudioTransform2 {
 public:
  // Scales the block in place from `fromPercent` % of its level at its first
  // value to `toPercent` % at its last, linearly in amplitude. The block keeps
  // its size. A fade-in passes 0 and 100, a fade-out 100 and 0. The block does
  // not say how many channels it interleaves, so the gain moves from value to
  // value; the channels of one frame differ by a step far below hearing.
  void Fade(SampleBlock& block, float fromPercent, float toPercent);

  // The same with the gain held equal across the `channels` values of each
  // frame.
  void Fade(SampleBlock& block, float fromPercent, float toPercent, int channels);
};

}  // namespace tarvex
