#pragma once

#include "components/audio/mp3frames/MpegFrameHeader.h"

#include <QString>

#include <vector>

namespace tarvex::mp3frames {

// One layer III frame taken apart: its header, its side information (as
// many bytes as the header calls for) and its main data.
struct LooseFrame {
  MpegFrameHeader header;
  std::vector<unsigned char> sideInfo;
  std::vector<unsigned char> mainData;
};

// Encodes `input` (interleaved floats, `like`'s channels) with libmp3lame
// at `like`'s rate and channel mode, constant `kbps`, without the bit
// reservoir (each frame's main data stands in the frame itself) and without
// a header frame, and returns the first `frameCount` frames (an input a
// frame longer than they cover spares the encoder padding its end). Raw decoder
// output position r of these frames holds input sample r - kEdgeCodecDelay.
// Throws AudioError naming `fileName` when the encoder fails or gives fewer
// frames.
std::vector<LooseFrame> encodeLooseFrames(const MpegFrameHeader& like, int kbps,
                                          const std::vector<float>& input, size_t frameCount,
                                          const QString& fileName);

// libmp3lame's encoder delay plus a decoder's own delay.
constexpr int kEdgeCodecDelay = 576 + 529;

}  // namespace tarvex::mp3frames
