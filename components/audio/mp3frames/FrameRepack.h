#pragma once

#include "components/audio/mp3frames/EdgeEncoder.h"

#include <optional>
#include <vector>

namespace tarvex::mp3frames {

// Frames ready to stand in a stream, with the bitrate index of each.
struct PackedFrames {
  std::vector<std::vector<unsigned char>> frames;
  std::vector<int> bitrateIndexes;
};

// Lays `loose` out as frames of their own: the first one's main data starts
// in its own area (main_data_begin 0), later ones may start in the areas
// before theirs; each frame takes the smallest bitrate that keeps every
// main_data_begin within reach, and the areas end with `reservoir`, the
// bytes the frame that follows draws on. Unused bytes are zero; headers carry
// no CRC. Empty when no choice of bitrates holds it all.
std::optional<PackedFrames> packFrames(const std::vector<LooseFrame>& loose,
                                       const std::vector<unsigned char>& reservoir);

}  // namespace tarvex::mp3frames
