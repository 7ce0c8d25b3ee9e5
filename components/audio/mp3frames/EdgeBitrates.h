#pragma once

#include "components/audio/mp3frames/Mp3FrameSource.h"

#include <cstdint>
#include <vector>

namespace tarvex::mp3frames {

// The bitrates the frames encoded beside source frame `around` are encoded
// at, best first: half as much again as the largest of the source's frames
// around it and at least 16 kbit/s more (coding noise at a cut spreads past
// it), down to that largest, the least they may have.
std::vector<int> edgeBitrates(const Mp3FrameSource& source, int64_t around);

}  // namespace tarvex::mp3frames
