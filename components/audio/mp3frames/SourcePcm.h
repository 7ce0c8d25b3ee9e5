#pragma once

#include "components/audio/mp3frames/Mp3FrameSource.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace tarvex::mp3frames {

// The raw decoder output of `source` (interleaved floats, its channels) over
// positions [rawBegin, rawEnd), as decoding the whole file from its first
// frame gives it (frame j decodes to positions [jN, (j+1)N)): the frames are
// decoded from a few frames earlier, so the bit reservoir and the overlap are
// in place. Positions outside the stream are zeros. Throws AudioError naming
// the source when the decoder fails.
// The first frame fed to the decoder for a span starting in frame
// `firstWanted` of a stream in `like`'s format, for the span to decode as
// from the stream's start: the frames over which the decoding settles, and
// before them as many as the bit reservoir reaches back from the first of
// those (511 bytes, 255 in MPEG-2), `areaBytes(i)` giving frame i's
// main-data area. A quiet passage of a variable-bitrate file has frames of
// a few dozen bytes, so a count of frames would not do: the first frames
// decoded would find nothing of their main data and give silence.
int64_t firstFedFrame(const MpegFrameHeader& like, int64_t firstWanted,
                      const std::function<int(int64_t)>& areaBytes);

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
