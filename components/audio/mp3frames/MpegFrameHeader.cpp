#include "components/audio/mp3frames/MpegFrameHeader.h"

namespace tarvex::mp3frames {

namespace {

constexpr int kBitratesMpeg1[16] = {0,   32,  40,  48,  56,  64,  80,  96,
                                    112, 128, 160, 192, 224, 256, 320, -1};
constexpr int kBitratesLowRate[16] = {0,  8,  16, 24,  32,  40,  48,  56,
                                      64, 80, 96, 112, 128, 144, 160, -1};
constexpr int kRatesMpeg1[3] = {44100, 48000, 32000};

int versionBits(MpegFrameHeader::Version version) {
  switch (version) {
    case MpegFrameHeader::Version::Mpeg1:
      return 3;
    case MpegFrameHeader::Version::Mpeg2:
      return 2;
    case MpegFrameHeader::Version::Mpeg25:
      return 0;
  }
  return 3;
}

}  // namespace

int MpegFrameHeader::sampleRate() const {
  const int base = kRatesMpeg1[sampleRateIndex];
  switch (version) {
    case Version::Mpeg1:
      return base;
    case Version::Mpeg2:
      return base / 2;
    case Version::Mpeg25:
      return base / 4;
  }
  return base;
}

int MpegFrameHeader::bitrateKbps() const {
  return version == Version::Mpeg1 ? kBitratesMpeg1[bitrateIndex] : kBitratesLowRate[bitrateIndex];
}

int MpegFrameHeader::sideInfoBytes() const {
  if (version == Version::Mpeg1) return channels() == 1 ? 17 : 32;
  return channels() == 1 ? 9 : 17;
}

int MpegFrameHeader::frameBytesAt(int index) const {
  const int kbps = version == Version::Mpeg1 ? kBitratesMpeg1[index] : kBitratesLowRate[index];
  if (kbps <= 0) return 0;
  const int factor = version == Version::Mpeg1 ? 144 : 72;
  return factor * kbps * 1000 / sampleRate();
}

int MpegFrameHeader::frameBytes() const {
  const int bytes = frameBytesAt(bitrateIndex);
  return bytes == 0 ? 0 : bytes + (padding ? 1 : 0);
}

int MpegFrameHeader::smallestBitrateIndexHolding(int bytes) const {
  for (int index = 1; index <= 14; ++index)
    if (frameBytesAt(index) >= bytes) return index;
  return 0;
}

uint32_t MpegFrameHeader::encode() const {
  uint32_t word = 0xFFE00000u;
  word |= static_cast<uint32_t>(versionBits(version)) << 19;
  word |= 1u << 17;  // layer III
  word |= (crcProtected ? 0u : 1u) << 16;
  word |= static_cast<uint32_t>(bitrateIndex) << 12;
  word |= static_cast<uint32_t>(sampleRateIndex) << 10;
  word |= (padding ? 1u : 0u) << 9;
  word |= (privateBit ? 1u : 0u) << 8;
  word |= static_cast<uint32_t>(channelMode) << 6;
  word |= static_cast<uint32_t>(modeExtension) << 4;
  word |= (copyright ? 1u : 0u) << 3;
  word |= (original ? 1u : 0u) << 2;
  word |= static_cast<uint32_t>(emphasis);
  return word;
}

std::optional<MpegFrameHeader> MpegFrameHeader::decode(uint32_t word) {
  if ((word & 0xFFE00000u) != 0xFFE00000u) return std::nullopt;
  MpegFrameHeader header;
  switch ((word >> 19) & 3) {
    case 0:
      header.version = Version::Mpeg25;
      break;
    case 2:
      header.version = Version::Mpeg2;
      break;
    case 3:
      header.version = Version::Mpeg1;
      break;
    default:
      return std::nullopt;
  }
  if (((word >> 17) & 3) != 1) return std::nullopt;  // layer III only
  header.crcProtected = ((word >> 16) & 1) == 0;
  header.bitrateIndex = static_cast<int>((word >> 12) & 15);
  if (header.bitrateIndex == 15) return std::nullopt;
  header.sampleRateIndex = static_cast<int>((word >> 10) & 3);
  if (header.sampleRateIndex == 3) return std::nullopt;
  header.padding = ((word >> 9) & 1) != 0;
  header.privateBit = ((word >> 8) & 1) != 0;
  header.channelMode = static_cast<int>((word >> 6) & 3);
  header.modeExtension = static_cast<int>((word >> 4) & 3);
  header.copyright = ((word >> 3) & 1) != 0;
  header.original = ((word >> 2) & 1) != 0;
  header.emphasis = static_cast<int>(word & 3);
  if (header.emphasis == 2) return std::nullopt;  // reserved
  return header;
}

}  // namespace tarvex::mp3frames
