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
  int blockType[2][2] = {};  // 0 long, 1 start, 2 short, 3 stop

  // Whether the window of `granule` begins (ends) with the long window's
  // slope in every channel. Two granules in a row overlap cleanly only when
  // the first ends as the second begins.
  bool opensLong(const MpegFrameHeader& header, int granule) const;
  bool closesLong(const MpegFrameHeader& header, int granule) const;

  // Bytes of main data the granules take (scale factors and Huffman data).
  int mainDataBytes(const MpegFrameHeader& header) const;

  // `sideInfo` points just past the header and the CRC word, if any.
  static Mp3SideInfo parse(const MpegFrameHeader& header, const unsigned char* sideInfo);
};

// True when the last granule of a frame with side information `before` and
// the first granule of the next, `after`, overlap cleanly.
bool windowsMeet(const MpegFrameHeader& header, const Mp3SideInfo& before,
                 const Mp3SideInfo& after);

}  // namespace tarvex::mp3frames
