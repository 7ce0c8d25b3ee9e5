#include "components/audio/mp3frames/SilentFrame.h"

#include "components/audio/mp3frames/MpegCrc16.h"

#include <algorithm>

namespace tarvex::mp3frames {

std::vector<unsigned char> makeSilentFrame(const MpegFrameHeader& like, int preferredBitrateIndex,
                                           const std::vector<unsigned char>& reservoir) {
  MpegFrameHeader header = like;
  header.padding = false;
  header.modeExtension = 0;
  const int needed = header.mainDataOffset() + static_cast<int>(reservoir.size());
  header.bitrateIndex =
      preferredBitrateIndex > 0 && header.frameBytesAt(preferredBitrateIndex) >= needed
          ? preferredBitrateIndex
          : header.smallestBitrateIndexHolding(needed);
  if (header.bitrateIndex == 0) return {};
  std::vector<unsigned char> frame(static_cast<size_t>(header.frameBytes()), 0);
  writeBigEndian32(frame.data(), header.encode());
  std::copy(reservoir.begin(), reservoir.end(), frame.end() - static_cast<long>(reservoir.size()));
  if (header.crcProtected) {
    const uint16_t crc = frameCrc(frame.data(), header.sideInfoBytes());
    frame[4] = static_cast<unsigned char>(crc >> 8);
    frame[5] = static_cast<unsigned char>(crc & 0xFF);
  }
  return frame;
}

}  // namespace tarvex::mp3frames
