#include "components/audio/mp3frames/InfoFrame.h"

#include "components/audio/mp3frames/MpegCrc16.h"

#include <algorithm>
#include <cstring>

namespace tarvex::mp3frames {

namespace {

// Offsets from the "Xing"/"Info" word.
constexpr int kFlags = 4;
constexpr int kFieldsStart = 8;
constexpr int kTocBytes = 100;
constexpr int kLameStart = 120;  // with all four Xing fields present
constexpr int kEncoder = kLameStart;
constexpr int kBefore = kLameStart + 9;
constexpr int kDelayPadding = kLameStart + 21;
constexpr int kAfter = kLameStart + 24;
constexpr int kMusicLength = kLameStart + 28;
constexpr int kMusicCrc = kLameStart + 32;
constexpr int kTagCrc = kLameStart + 34;
constexpr int kTagBytes = kLameStart + 36;

constexpr uint32_t kFramesFlag = 1;
constexpr uint32_t kBytesFlag = 2;
constexpr uint32_t kTocFlag = 4;
constexpr uint32_t kQualityFlag = 8;

bool looksLikeEncoderName(const unsigned char* bytes) {
  for (int i = 0; i < 4; ++i)
    if (bytes[i] < 0x20 || bytes[i] > 0x7E) return false;
  return true;
}

std::optional<InfoFrame> readAt(const unsigned char* frame, int frameBytes, int offset) {
  if (offset + kFieldsStart > frameBytes) return std::nullopt;
  const unsigned char* tag = frame + offset;
  const bool xing = std::memcmp(tag, "Xing", 4) == 0;
  if (!xing && std::memcmp(tag, "Info", 4) != 0) return std::nullopt;
  InfoFrame info;
  info.vbr = xing;
  const uint32_t flags = readBigEndian32(tag + kFlags);
  int position = kFieldsStart;
  auto fits = [&](int bytes) { return offset + position + bytes <= frameBytes; };
  if ((flags & kFramesFlag) != 0) {
    if (!fits(4)) return info;
    info.frames = readBigEndian32(tag + position);
    position += 4;
  }
  if ((flags & kBytesFlag) != 0) {
    if (!fits(4)) return info;
    info.bytes = readBigEndian32(tag + position);
    position += 4;
  }
  if ((flags & kTocFlag) != 0) position += kTocBytes;
  if ((flags & kQualityFlag) != 0) {
    if (!fits(4)) return info;
    info.quality = static_cast<int>(readBigEndian32(tag + position));
    position += 4;
  }
  const int lameAt = position;
  if (!fits(kTagBytes - kLameStart) || !looksLikeEncoderName(tag + lameAt)) return info;
  const unsigned char* lame = tag + lameAt - kLameStart;  // so the k-offsets apply
  LameTagDetails details;
  details.encoder = QByteArray(reinterpret_cast<const char*>(lame + kEncoder), 9);
  std::copy_n(lame + kBefore, details.before.size(), details.before.begin());
  std::copy_n(lame + kAfter, details.after.size(), details.after.begin());
  const unsigned char* dp = lame + kDelayPadding;
  details.encoderDelay = (dp[0] << 4) | (dp[1] >> 4);
  details.padding = ((dp[1] & 0x0F) << 8) | dp[2];
  info.lame = details;
  return info;
}

}  // namespace

std::optional<InfoFrame> readInfoFrame(const MpegFrameHeader& header, const unsigned char* frame,
                                       int frameBytes) {
  const int plain = 4 + header.sideInfoBytes();
  if (auto info = readAt(frame, frameBytes, plain)) return info;
  if (header.crcProtected) return readAt(frame, frameBytes, plain + 2);
  return std::nullopt;
}

LameTagDetails plainLameTag(const QByteArray& encoder, int encoderDelay, int padding) {
  LameTagDetails details;
  details.encoder = encoder.left(9).leftJustified(9, ' ');
  details.encoderDelay = encoderDelay;
  details.padding = padding;
  return details;
}

std::vector<unsigned char> buildInfoFrame(const MpegFrameHeader& streamHeader,
                                          int preferredBitrateIndex,
                                          const InfoFrameContent& content) {
  MpegFrameHeader header = streamHeader;
  header.crcProtected = false;
  header.padding = false;
  const int tagOffset = 4 + header.sideInfoBytes();
  const int needed = tagOffset + kTagBytes;
  header.bitrateIndex =
      preferredBitrateIndex > 0 && header.frameBytesAt(preferredBitrateIndex) >= needed
          ? preferredBitrateIndex
          : header.smallestBitrateIndexHolding(needed);
  const int frameBytes = header.frameBytes();
  std::vector<unsigned char> frame(static_cast<size_t>(frameBytes), 0);
  writeBigEndian32(frame.data(), header.encode());

  unsigned char* tag = frame.data() + tagOffset;
  std::memcpy(tag, content.vbr ? "Xing" : "Info", 4);
  writeBigEndian32(tag + kFlags, kFramesFlag | kBytesFlag | kTocFlag | kQualityFlag);
  const uint64_t totalBytes = content.audioBytes + static_cast<uint64_t>(frameBytes);
  const auto clamp32 = [](uint64_t value) {
    return static_cast<uint32_t>(std::min<uint64_t>(value, 0xFFFFFFFFu));
  };
  writeBigEndian32(tag + kFieldsStart, content.audioFrames);
  writeBigEndian32(tag + kFieldsStart + 4, clamp32(totalBytes));
  unsigned char* toc = tag + kFieldsStart + 8;
  const size_t frames = content.frameOffsets.size();
  for (int i = 0; i < kTocBytes; ++i) {
    if (frames == 0) {
      toc[i] = static_cast<unsigned char>(i * 256 / 100);
      continue;
    }
    const size_t index = std::min(frames - 1, static_cast<size_t>(i) * frames / 100);
    const uint64_t at = content.frameOffsets[index] + static_cast<uint64_t>(frameBytes);
    toc[i] = static_cast<unsigned char>(std::min<uint64_t>(255, at * 256 / totalBytes));
  }
  writeBigEndian32(tag + kFieldsStart + 8 + kTocBytes, static_cast<uint32_t>(content.quality));

  const LameTagDetails& lame = content.lame;
  const QByteArray encoder = lame.encoder.left(9).leftJustified(9, ' ');
  std::memcpy(tag + kEncoder, encoder.constData(), 9);
  std::copy(lame.before.begin(), lame.before.end(), tag + kBefore);
  const int delay = std::clamp(lame.encoderDelay, 0, 4095);
  const int padding = std::clamp(lame.padding, 0, 4095);
  tag[kDelayPadding] = static_cast<unsigned char>(delay >> 4);
  tag[kDelayPadding + 1] = static_cast<unsigned char>(((delay & 0x0F) << 4) | (padding >> 8));
  tag[kDelayPadding + 2] = static_cast<unsigned char>(padding & 0xFF);
  std::copy(lame.after.begin(), lame.after.end(), tag + kAfter);
  writeBigEndian32(tag + kMusicLength, clamp32(totalBytes));
  tag[kMusicCrc] = static_cast<unsigned char>(content.musicCrc >> 8);
  tag[kMusicCrc + 1] = static_cast<unsigned char>(content.musicCrc & 0xFF);
  const uint16_t tagCrc = lameCrc(frame.data(), static_cast<size_t>(tagOffset + kTagCrc));
  tag[kTagCrc] = static_cast<unsigned char>(tagCrc >> 8);
  tag[kTagCrc + 1] = static_cast<unsigned char>(tagCrc & 0xFF);
  return frame;
}

bool plausibleStreamCounts(const MpegFrameHeader& header, uint64_t frames, uint64_t bytes) {
  if (frames == 0 || bytes == 0) return false;
  // Writers differ on whether the header frame itself is counted: one frame
  // either way is allowed.
  const uint64_t smallest = static_cast<uint64_t>(header.frameBytesAt(1));
  const uint64_t largest = static_cast<uint64_t>(header.frameBytesAt(14)) + 1;
  return frames * smallest <= bytes + largest && bytes <= (frames + 1) * largest;
}

}  // namespace tarvex::mp3frames
