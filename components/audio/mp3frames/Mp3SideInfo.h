#pragma once

#include "components/audio/mp3frames/MpegFrameHeader.h"

namespace tarvex::mp3frames {

// What the cutter and the waveform estimate need from a layer III frame's
// side information.
struct Mp3SideInfo {
  int mainDataBegin = 0;        // bytes of earlier frames' main-data areas this frame starts in
  int part23Length[2][2] = {};  // bits per granule and channel
  int bigValues[2][2] = {};     // coded value pairs in the big-values region
  int globalGain[2][2] = {};

  // Bytes of main data the granules take (scale factors and Huffman data).
  int mainDataBytes(const MpegFrameHeader& header) const;

  // `sideInfo` points just past the header and the CRC word, if any.
  static Mp3SideInfo parse(const MpegFrameHeader& header, const unsigned char* sideInfo);
};

}  // namespace tarvex::mp3frames
