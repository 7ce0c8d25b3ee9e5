#include "components/audio/XingHeader.h"

#include "components/audio/mp3frames/InfoFrame.h"
#include "components/audio/mp3frames/MpegFrameHeader.h"
#include "components/audio/mp3frames/MpegFrameWalker.h"

#include <QFile>
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
  if (!file.open(QIODevice::ReadOnly) || file.size() < kId3v1Bytes) return false;
  const unsigned char* data = file.map(0, file.size());
  if (data == nullptr) return false;
  // The audio lies between the tags at the start and those at the end.
  const mp3frames::AudioSpan span =
      mp3frames::audioSpanOf(data, static_cast<uint64_t>(file.size()));
  if (span.end < span.begin + kFrameHeadBytes) return false;
  // Some writers count an ID3v1 tag at the end as audio.
  const auto size = static_cast<uint64_t>(file.size());
  const bool endsWithId3v1 = std::memcmp(data + size - kId3v1Bytes, "TAG", 3) == 0;
  const auto audioBytes = static_cast<int64_t>(span.end - span.begin);
  return hasTrustworthyXingHeader(data + span.begin, kFrameHeadBytes,
                                  audioBytes + (endsWithId3v1 ? kId3v1Bytes : 0), endsWithId3v1);
}

}  // namespace tarvex
