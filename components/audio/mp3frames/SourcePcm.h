#pragma once

#include "components/audio/mp3frames/Mp3FrameSource.h"

#include <cstdint>
#include <vector>

namespace tarvex::mp3frames {

// The raw decoder output of `source` (interleaved floats, its channels) over
// positions [rawBegin, rawEnd), as decoding the whole file from its first
// frame gives it (frame j decodes to positions [jN, (j+1)N)): the frames are
// decoded from a few frames earlier, so the bit reservoir and the overlap are
// in place. Positions outside the stream are zeros. Throws AudioError naming
// the source when the decoder fails.
std::vector<float> decodeRawSpan(const Mp3FrameSource& source, int64_t rawBegin, int64_t rawEnd);

}  // namespace tarvex::mp3frames
