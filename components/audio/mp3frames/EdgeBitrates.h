#pragma once

#include "components/audio/mp3frames/EdgeEncoder.h"
#include "components/audio/mp3frames/Mp3FrameSource.h"

#include <cstdint>
#include <vector>

namespace tarvex::mp3frames {

// The bitrates the frames encoded beside source frame `around` are encoded
// at, best first: the highest the format has (the encoded audio then differs
// least from the source's, so a seam keeps its level and adds little noise
// of its own), down to the largest of the source's frames around it, the
// least they may have. Lower ones leave the reservoir more room.
std::vector<int> edgeBitrates(const Mp3FrameSource& source, int64_t around);

// The bitrate the frames after a piece's copied ones are encoded at: the
// highest the format has. They carry no reservoir for anything after them,
// so only their size grows, while the coding noise that spreads past the
// piece's end (into what players that ignore the LAME header play) falls.
int tailBitrate(const Mp3FrameSource& source);

// The band of `source`'s recording (see EdgeBand): the lowpass its LAME tag
// notes, else its mean bitrate's.
EdgeBand edgeBand(const Mp3FrameSource& source);

// The wider of two recordings' bands, as both sides of a seam hold them.
EdgeBand widerBand(const EdgeBand& one, const EdgeBand& other);

}  // namespace tarvex::mp3frames
