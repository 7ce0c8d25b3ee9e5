#pragma once

#include "components/audio/mp3frames/MpegFrameHeader.h"

#include <lame/lame.h>

#include <vector>

namespace tarvex::mp3frames {

// libmp3lame leaves its Xing/LAME header frame out when that frame, at the
// stream's own bitrate (CBR) or its fixed header bitrate, is too small for
// the fields (low MPEG-2 and 2.5 bitrates, e.g. 16 kbit/s at 8 kHz): gapless
// decoders then cannot drop the encoder delay. These helpers let the writer
// put a header frame of its own there instead, at a bitrate large enough.

// True when `lame` (after lame_init_params, header frame asked for) will
// write no header frame of its own, by libmp3lame's rule for its size.
bool lameLeavesOutHeaderFrame(lame_t lame);

// The stream header the encoder's frames will have (bitrate aside).
MpegFrameHeader encoderStreamHeader(lame_t lame);

// Our header frame for the stream `lame` has finished encoding: its first
// audio frame starts with `firstFrameHeader`, its frames take `audioBytes`
// bytes whose lameCrc is `musicCrc`; `extraFrames` silent frames stand
// before the audio (their samples are added to the delay).
std::vector<unsigned char> encoderHeaderFrame(lame_t lame, const MpegFrameHeader& firstFrameHeader,
                                              uint64_t audioBytes, uint16_t musicCrc,
                                              int extraFrames = 0);

// Its size, known before encoding starts.
size_t encoderHeaderFrameBytes(lame_t lame);

}  // namespace tarvex::mp3frames
