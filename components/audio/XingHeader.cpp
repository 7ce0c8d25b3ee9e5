#include "components/audio/XingHeader.h"

#include "components/audio/mp3frames/Id3v2Size.h"
#include "components/audio/mp3frames/InfoFrame.h"
#include "components/audio/mp3frames/MpegFrameHeader.h"

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

}  // namespace

bool hasTrustworthyXingHeader(const unsigned char* frame, int64_t frameBytes, int64_t audioBytes,
                              bool endsWithId3v1) {
  if (frameBytes < 4) return false;
  // An MPEG audio frame header: sync, layer III, a valid rate.
  const auto header = mp3frames::MpegFrameHeader::decode(bigEndian32(frame));
  if (!header) return false;
  const int64_t tag = 4 + header->sideInfoBytes();
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
  // A damaged count would make the file hours long: the two counts must
  // describe frames possible at the stream's rate.
  if (!mp3frames::plausibleStreamCounts(*header, frames, bytes)) return false;
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
  const auto start = static_cast<int64_t>(mp3frames::id3v2TagBytes(header.data(), 10));
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
