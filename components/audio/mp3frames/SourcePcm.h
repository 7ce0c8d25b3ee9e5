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
// A piece's own edge audio (see EdgeAudio.h), where it carries any, is
// added: the span is then the audio the piece was cut to hold.
std::vector<float> decodeRawSpan(const Mp3FrameSource& source, int64_t rawBegin, int64_t rawEnd);

// The same for frames held in memory (`size` bytes of whole frames of the
// format of `like`), the first of which decodes to raw position
// `firstPosition`: positions they do not reach are zeros. Throws AudioError
// naming `fileName` when the decoder fails.
std::vector<float> decodeFrameBytes(const unsigned char* data, size_t size, int64_t firstPosition,
                                    const MpegFrameHeader& like, int64_t rawBegin, int64_t rawEnd,
                                    const QString& fileName);

}  // namespace tarvex::mp3frames
