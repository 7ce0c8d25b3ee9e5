#include "components/audio/mp3frames/MpegFrameWalker.h"

#include "components/audio/mp3frames/Id3v2Size.h"

#include <algorithm>
#include <cstring>

namespace tarvex::mp3frames {

namespace {

constexpr uint64_t kId3v1Bytes = 128;
constexpr uint64_t kApeFooterBytes = 32;

uint32_t littleEndian32(const unsigned char* bytes) {
  return uint32_t{bytes[0]} | (uint32_t{bytes[1]} << 8) | (uint32_t{bytes[2]} << 16) |
         (uint32_t{bytes[3]} << 24);
}

bool couldBeSync(const unsigned char* at) {
  return at[0] == 0xFF && (at[1] & 0xE0) == 0xE0;
}

// Files of another kind whose bytes may hold chance frame headers: a tone in
// PCM repeats the same bytes, header-like ones included, every period.
bool otherContainer(const unsigned char* data, uint64_t size) {
  if (size >= 22 && std::memcmp(data, "RIFF", 4) == 0 && std::memcmp(data + 8, "WAVE", 4) == 0 &&
      std::memcmp(data + 12, "fmt ", 4) == 0) {
    const unsigned format = data[20] | (unsigned{data[21]} << 8);
    constexpr unsigned kMpegLayer3 = 0x55;
    return format != kMpegLayer3;
  }
  return size >= 4 && (std::memcmp(data, "OggS", 4) == 0 || std::memcmp(data, "fLaC", 4) == 0 ||
                       std::memcmp(data, "\x30\x26\xB2\x75", 4) == 0);
}

}  // namespace

AudioSpan audioSpanOf(const unsigned char* data, uint64_t size) {
  AudioSpan span{0, size};
  while (const uint64_t tag = id3v2TagBytes(data + span.begin, span.end - span.begin))
    span.begin += std::min(tag, span.end - span.begin);
  for (bool found = true; found;) {
    found = false;
    const uint64_t left = span.end - span.begin;
    if (left >= kId3v1Bytes && std::memcmp(data + span.end - kId3v1Bytes, "TAG", 3) == 0) {
      span.end -= kId3v1Bytes;
      found = true;
      continue;
    }
    if (left >= kApeFooterBytes &&
        std::memcmp(data + span.end - kApeFooterBytes, "APETAGEX", 8) == 0) {
      const unsigned char* footer = data + span.end - kApeFooterBytes;
      // The size counts the items and the footer; a header adds 32 bytes.
      const uint64_t size = littleEndian32(footer + 12);
      const bool header = (footer[23] & 0x80) != 0;
      const uint64_t whole = size + (header ? kApeFooterBytes : 0);
      if (size >= kApeFooterBytes && whole <= left) {
        span.end -= whole;
        found = true;
      }
    }
  }
  return span;
}

MpegFrameWalker::MpegFrameWalker(const unsigned char* data, uint64_t size)
    : data_(data), size_(size), span_(audioSpanOf(data, size)), at_(span_.begin) {}

std::optional<MpegFrameHeader> MpegFrameWalker::headerAt(uint64_t at) const {
  if (at + 4 > span_.end || !couldBeSync(data_ + at)) return std::nullopt;
  return MpegFrameHeader::decode(readBigEndian32(data_ + at));
}

bool MpegFrameWalker::sameStream(const MpegFrameHeader& header) const {
  return header.bitrateIndex != 0 && header.version == stream_->version &&
         header.sampleRateIndex == stream_->sampleRateIndex &&
         header.channels() == stream_->channels();
}

bool MpegFrameWalker::confirmedAt(uint64_t at) const {
  const auto header = headerAt(at);
  if (!header || !sameStream(*header)) return false;
  const uint64_t next = at + static_cast<uint64_t>(header->frameBytes());
  if (next == span_.end) return true;
  const auto following = headerAt(next);
  return following && sameStream(*following);
}

bool MpegFrameWalker::chainsToFileEnd(uint64_t at) const {
  while (at + 4 <= size_) {
    if (data_[at] != 0xFF || (data_[at + 1] & 0xE0) != 0xE0) return false;
    const auto header = MpegFrameHeader::decode(readBigEndian32(data_ + at));
    if (!header || !sameStream(*header)) return false;
    at += static_cast<uint64_t>(header->frameBytes());
  }
  return at == size_;
}

std::optional<uint64_t> MpegFrameWalker::resync(uint64_t from) const {
  const uint64_t limit = std::min(span_.end, from + kSearchLimit);
  for (uint64_t at = from; at + 4 <= limit; ++at)
    if (confirmedAt(at)) return at;
  return std::nullopt;
}

bool MpegFrameWalker::freeFormatPairAt(uint64_t at, const MpegFrameHeader& header) const {
  // A free-format frame is at most 640 kbit/s long; the next one must follow
  // within that with the same version, rate and channels.
  const uint64_t longest = static_cast<uint64_t>(header.samplesPerFrame()) / 8 * 640000 /
                               static_cast<uint64_t>(header.sampleRate()) +
                           1;
  const uint64_t limit = std::min(span_.end, at + 4 + longest + 4);
  for (uint64_t next = at + 4 + static_cast<uint64_t>(header.sideInfoBytes()); next + 4 <= limit;
       ++next) {
    const auto following = headerAt(next);
    if (following && following->bitrateIndex == 0 && following->version == header.version &&
        following->sampleRateIndex == header.sampleRateIndex &&
        following->channels() == header.channels())
      return true;
  }
  return false;
}

void MpegFrameWalker::findFirst() {
  started_ = true;
  if (otherContainer(data_ + span_.begin, span_.end - span_.begin)) {
    ended_ = true;
    return;
  }
  const uint64_t searchEnd = std::min(span_.end, span_.begin + kSearchLimit);
  // Each free-format candidate costs a search of its own: a few are enough.
  int freeFormatTries = 16;
  for (uint64_t at = span_.begin; at + 4 <= searchEnd; ++at) {
    const auto header = headerAt(at);
    if (!header) continue;
    if (header->bitrateIndex == 0) {
      if (!freeFormat_ && freeFormatTries-- > 0 && freeFormatPairAt(at, *header))
        freeFormat_ = true;
      continue;
    }
    stream_ = header;
    if (confirmedAt(at)) {
      at_ = at;
      freeFormat_ = false;
      return;
    }
    stream_.reset();
  }
  ended_ = true;
}

std::optional<WalkedFrame> MpegFrameWalker::next() {
  if (!started_) findFirst();
  while (!ended_ && at_ + 4 <= span_.end) {
    const auto header = headerAt(at_);
    // Audio bytes may end in what looks like a tag ("TAG" 128 bytes from the
    // end): frames that run on into it and end exactly at the file's end are
    // audio all through.
    if (header && sameStream(*header) && span_.end < size_ &&
        at_ + static_cast<uint64_t>(header->frameBytes()) > span_.end && chainsToFileEnd(at_))
      span_.end = size_;
    if (!header || !sameStream(*header) ||
        at_ + static_cast<uint64_t>(header->frameBytes()) > span_.end) {
      const auto found = resync(at_ + 1);
      if (!found) break;  // a truncated last frame or trailing bytes
      skipped_ += *found - at_;
      at_ = *found;
      continue;
    }
    WalkedFrame frame{at_, *header, header->frameBytes()};
    at_ += static_cast<uint64_t>(frame.bytes);
    return frame;
  }
  ended_ = true;
  return std::nullopt;
}

}  // namespace tarvex::mp3frames
