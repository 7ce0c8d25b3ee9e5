#include "components/audio/XingHeader.h"

#include <QFile>
#include <array>
#include <cstring>

namespace tarvex {
namespace {

constexpr int64_t kId3v1Bytes = 128;
constexpr int kFrameHeadBytes = 64;

uint32_t bigEndian32(const unsigned char* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | uint32_t{p[3]};
}

// Bytes of an ID3v2 tag from its 10-byte header (header, body and footer), 0 without one.
int64_t id3v2Bytes(const unsigned char* header) {
  if (std::memcmp(header, "ID3", 3) != 0) return 0;
  const unsigned char* size = header + 6;
  if ((size[0] | size[1] | size[2] | size[3]) & 0x80) return 0;
  const int64_t body = (int64_t{size[0]} << 21) | (int64_t{size[1]} << 14) |
                       (int64_t{size[2]} << 7) | int64_t{size[3]};
  const bool footer = (header[5] & 0x10) != 0;
  return 10 + body + (footer ? 10 : 0);
}

}  // namespace

bool hasTrustworthyXingHeader(const unsigned char* frame, int64_t frameBytes, int64_t audioBytes,
                              bool endsWithId3v1) {
  if (frameBytes < 4) return false;
  // An MPEG audio frame header: sync, layer III, a valid rate.
  if (frame[0] != 0xFF || (frame[1] & 0xE0) != 0xE0) return false;
  const int version = (frame[1] >> 3) & 0x03;  // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
  const int layer = (frame[1] >> 1) & 0x03;    // 1 layer III
  if (version == 1 || layer != 1 || ((frame[2] >> 2) & 0x03) == 3) return false;
  const bool mono = ((frame[3] >> 6) & 0x03) == 3;
  const int sideInfo = version == 3 ? (mono ? 17 : 32) : (mono ? 9 : 17);
  const int64_t tag = 4 + sideInfo;
  if (tag + 16 > frameBytes) return false;
  if (std::memcmp(frame + tag, "Xing", 4) != 0 && std::memcmp(frame + tag, "Info", 4) != 0) {
    return false;
  }
  const uint32_t flags = bigEndian32(frame + tag + 4);
  constexpr uint32_t kFramesFlag = 0x1;
  constexpr uint32_t kBytesFlag = 0x2;
  if ((flags & kFramesFlag) == 0 || (flags & kBytesFlag) == 0) return false;
  const uint32_t frames = bigEndian32(frame + tag + 8);
  const uint32_t bytes = bigEndian32(frame + tag + 12);
  if (frames == 0 || bytes == 0) return false;
  // Writers differ on whether a trailing ID3v1 tag is counted.
  return int64_t{bytes} == audioBytes ||
         (endsWithId3v1 && int64_t{bytes} == audioBytes - kId3v1Bytes);
}

bool hasTrustworthyXingHeader(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  const int64_t size = file.size();
  std::array<unsigned char, 10> header{};
  if (file.read(reinterpret_cast<char*>(header.data()), 10) != 10) return false;
  const int64_t start = id3v2Bytes(header.data());
  std::array<unsigned char, kFrameHeadBytes> frame{};
  if (!file.seek(start) ||
      file.read(reinterpret_cast<char*>(frame.data()), kFrameHeadBytes) != kFrameHeadBytes) {
    return false;
  }
  bool endsWithId3v1 = false;
  if (size - start >= kId3v1Bytes && file.seek(size - kId3v1Bytes)) {
    std::array<char, 3> marker{};
    endsWithId3v1 = file.read(marker.data(), 3) == 3 && std::memcmp(marker.data(), "TAG", 3) == 0;
  }
  return hasTrustworthyXingHeader(frame.data(), kFrameHeadBytes, size - start, endsWithId3v1);
}

}  // namespace tarvex
