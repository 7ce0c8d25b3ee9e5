#pragma once

#include <cstdint>
#include <optional>

namespace tarvex::mp3frames {

// One MPEG audio layer III frame header (the four bytes at a frame's start).
struct MpegFrameHeader {
  enum class Version { Mpeg1, Mpeg2, Mpeg25 };

  Version version = Version::Mpeg1;
  bool crcProtected = false;
  int bitrateIndex = 0;  // 0 is free format
  int sampleRateIndex = 0;
  bool padding = false;
  bool privateBit = false;
  int channelMode = 0;  // 0 stereo, 1 joint stereo, 2 dual channel, 3 mono
  int modeExtension = 0;
  bool copyright = false;
  bool original = false;
  int emphasis = 0;

  int sampleRate() const;
  int bitrateKbps() const;  // 0 for free format
  int channels() const { return channelMode == 3 ? 1 : 2; }
  int samplesPerFrame() const { return version == Version::Mpeg1 ? 1152 : 576; }
  int granules() const { return version == Version::Mpeg1 ? 2 : 1; }
  bool lowSamplingFrequency() const { return version != Version::Mpeg1; }
  int sideInfoBytes() const;
  // The whole frame in bytes, header included (0 for free format).
  int frameBytes() const;
  // Where the main-data area starts inside the frame.
  int mainDataOffset() const { return 4 + (crcProtected ? 2 : 0) + sideInfoBytes(); }

  uint32_t encode() const;
  // Null for anything but a valid layer III header.
  static std::optional<MpegFrameHeader> decode(uint32_t word);

  // Frame bytes at a bitrate of this header's version and rate (no padding).
  int frameBytesAt(int bitrateIndex) const;
  // The smallest bitrate index whose unpadded frames hold `bytes` bytes; 0
  // when none does.
  int smallestBitrateIndexHolding(int bytes) const;
};

inline uint32_t readBigEndian32(const unsigned char* bytes) {
  return (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) |
         uint32_t{bytes[3]};
}

inline void writeBigEndian32(unsigned char* bytes, uint32_t value) {
  bytes[0] = static_cast<unsigned char>(value >> 24);
  bytes[1] = static_cast<unsigned char>(value >> 16);
  bytes[2] = static_cast<unsigned char>(value >> 8);
  bytes[3] = static_cast<unsigned char>(value);
}

}  // namespace tarvex::mp3frames
