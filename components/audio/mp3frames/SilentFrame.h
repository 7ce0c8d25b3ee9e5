#pragma once

#include "components/audio/mp3frames/MpegFrameHeader.h"

#include <vector>

namespace tarvex::mp3frames {

// A frame that decodes to silence on its own (main_data_begin 0, empty
// granules) and whose main-data area ends with `reservoir`, the bytes the
// frames after it take from the bit reservoir. It looks like `like` (version,
// rate, mode, CRC protection, with a valid CRC); its bitrate is
// `preferredBitrateIndex` if that frame is large enough, else the smallest
// that is. Empty when no bitrate holds the reservoir.
std::vector<unsigned char> makeSilentFrame(const MpegFrameHeader& like, int preferredBitrateIndex,
                                           const std::vector<unsigned char>& reservoir);

}  // namespace tarvex::mp3frames
