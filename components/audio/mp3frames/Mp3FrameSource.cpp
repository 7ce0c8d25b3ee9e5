#include "components/audio/mp3frames/Mp3FrameSource.h"

#include "components/audio/AudioError.h"
#include "components/audio/ErrorText.h"

#include <algorithm>
#include <cstring>

namespace tarvex::mp3frames {

namespace {

// How far into the file (past any ID3v2 tag) the first frame is looked for.
constexpr uint64_t kFirstFrameSearch = 64 * 1024;
// How far past damage the next frame is looked for.
constexpr uint64_t kResyncSearch = 64 * 1024;

uint64_t id3v2Bytes(const unsigned char* at, uint64_t available) {
  if (available < 10 || std::memcmp(at, "ID3", 3) != 0) return 0;
  for (int i = 6; i < 10; ++i)
    if ((at[i] & 0x80) != 0) return 0;
  const uint64_t body =
      (uint64_t{at[6]} << 21) | (uint64_t{at[7]} << 14) | (uint64_t{at[8]} << 7) | uint64_t{at[9]};
  const bool footer = (at[5] & 0x10) != 0;
  return std::min(available, 10 + body + (footer ? 10 : 0));
}

// The end of the audio once tags at the end of the file are left out.
uint64_t audioEnd(const unsigned char* data, uint64_t begin, uint64_t end) {
  for (bool found = true; found;) {
    found = false;
    if (end - begin >= 128 && std::memcmp(data + end - 128, "TAG", 3) == 0) {
      end -= 128;
      found = true;
    }
    if (end - begin >= 32 && std::memcmp(data + end - 32, "APETAGEX", 8) == 0) {
      const uint32_t size = uint32_t{data[end - 20]} | (uint32_t{data[end - 19]} << 8) |
                            (uint32_t{data[end - 18]} << 16) | (uint32_t{data[end - 17]} << 24);
      const bool header = (data[end - 9] & 0x80) != 0;
      const uint64_t whole = uint64_t{size} + (header ? 32 : 0);
      if (whole <= end - begin) {
        end -= whole;
        found = true;
      }
    }
  }
  return end;
}

}  // namespace

Mp3FrameSource::Mp3FrameSource(const QString& fileName)
    : fileName_(fileName), file_(std::make_unique<QFile>(fileName)) {
  if (!file_->exists()) throw AudioError(openError(fileName, QStringLiteral("file not found")));
  if (!file_->open(QIODevice::ReadOnly))
    throw AudioError(openError(fileName, file_->errorString().toLower()));
  size_ = static_cast<uint64_t>(file_->size());
  if (size_ == 0) throw AudioError(openError(fileName, QStringLiteral("the file is empty")));
  data_ = file_->map(0, file_->size());
  if (data_ == nullptr) throw AudioError(openError(fileName, file_->errorString().toLower()));

  uint64_t begin = 0;
  while (const uint64_t tag = id3v2Bytes(data_ + begin, size_ - begin)) begin += tag;
  scan(begin, audioEnd(data_, begin, size_));
}

Mp3FrameSource::~Mp3FrameSource() = default;

void Mp3FrameSource::fail(const QString& reason) const {
  throw AudioError(openError(fileName_, reason));
}

bool Mp3FrameSource::sameStream(const MpegFrameHeader& header) const {
  return header.version == firstHeader_.version &&
         header.sampleRateIndex == firstHeader_.sampleRateIndex &&
         header.channels() == firstHeader_.channels() && header.bitrateIndex != 0;
}

std::optional<uint64_t> Mp3FrameSource::resync(uint64_t from, uint64_t end) const {
  const uint64_t limit = std::min(end, from + kResyncSearch);
  for (uint64_t at = from; at + 4 <= limit; ++at) {
    if (data_[at] != 0xFF || (data_[at + 1] & 0xE0) != 0xE0) continue;
    const auto header = MpegFrameHeader::decode(readBigEndian32(data_ + at));
    if (!header || !sameStream(*header)) continue;
    const uint64_t next = at + static_cast<uint64_t>(header->frameBytes());
    if (next == end) return at;
    if (next + 4 > end) continue;
    const auto following = MpegFrameHeader::decode(readBigEndian32(data_ + next));
    if (following && sameStream(*following)) return at;
  }
  return std::nullopt;
}

void Mp3FrameSource::scan(uint64_t begin, uint64_t end) {
  // The first frame: a layer III header followed by another one of the same
  // stream (a lone plausible header is often chance).
  std::optional<uint64_t> first;
  bool freeFormat = false;
  const uint64_t searchEnd = std::min(end, begin + kFirstFrameSearch);
  for (uint64_t at = begin; at + 4 <= searchEnd && !first; ++at) {
    if (data_[at] != 0xFF || (data_[at + 1] & 0xE0) != 0xE0) continue;
    const auto header = MpegFrameHeader::decode(readBigEndian32(data_ + at));
    if (!header) continue;
    if (header->bitrateIndex == 0) {
      freeFormat = true;
      continue;
    }
    firstHeader_ = *header;
    if (resync(at, end) == at) first = at;
  }
  if (!first && freeFormat)
    fail(QStringLiteral("free-format MP3 cannot be cut or joined without re-encoding"));
  if (!first) fail(QStringLiteral("not an MPEG layer III audio file"));

  uint64_t at = *first;
  bool firstFrame = true;
  while (at + 4 <= end) {
    const auto header = MpegFrameHeader::decode(readBigEndian32(data_ + at));
    if (!header || !sameStream(*header) || at + static_cast<uint64_t>(header->frameBytes()) > end) {
      const auto next = resync(at + 1, end);
      if (!next) break;  // a truncated last frame or trailing bytes
      skippedBytes_ += static_cast<int64_t>(*next - at);
      at = *next;
      continue;
    }
    const int bytes = header->frameBytes();
    if (bytes < header->mainDataOffset()) {
      at += static_cast<uint64_t>(bytes);
      continue;
    }
    if (firstFrame) {
      firstFrame = false;
      info_ = readInfoFrame(*header, data_ + at, bytes);
      if (info_) {
        at += static_cast<uint64_t>(bytes);
        continue;
      }
    }
    FrameEntry entry;
    entry.offset = at;
    entry.bytes = static_cast<uint16_t>(bytes);
    entry.mainDataOffset = static_cast<uint8_t>(header->mainDataOffset());
    entry.bitrateIndex = static_cast<uint8_t>(header->bitrateIndex);
    const unsigned char* side = data_ + at + 4 + (header->crcProtected ? 2 : 0);
    entry.mainDataBegin = static_cast<uint16_t>(header->version == MpegFrameHeader::Version::Mpeg1
                                                    ? (side[0] << 1) | (side[1] >> 7)
                                                    : side[0]);
    frames_.push_back(entry);
    at += static_cast<uint64_t>(bytes);
  }
  if (frames_.empty()) fail(QStringLiteral("the file holds no MP3 audio frames"));
  firstHeader_ = *MpegFrameHeader::decode(readBigEndian32(data_ + frames_.front().offset));

  const int64_t raw = static_cast<int64_t>(frames_.size()) * samplesPerFrame();
  if (info_ && info_->lame) {
    startPosition_ = std::min<int64_t>(raw, info_->lame->encoderDelay + kDecoderDelay);
    endPosition_ =
        std::clamp<int64_t>(raw - info_->lame->padding + kDecoderDelay, startPosition_, raw);
  } else {
    startPosition_ = 0;
    endPosition_ = raw;
  }
}

std::vector<unsigned char> Mp3FrameSource::reservoirBefore(size_t index, int count) const {
  std::vector<unsigned char> bytes(static_cast<size_t>(std::max(count, 0)), 0);
  size_t filled = 0;
  for (size_t frame = index; frame > 0 && filled < bytes.size(); --frame) {
    const FrameEntry& entry = frames_[frame - 1];
    const size_t take =
        std::min<size_t>(static_cast<size_t>(entry.areaBytes()), bytes.size() - filled);
    const unsigned char* areaEnd = data_ + entry.offset + entry.bytes;
    std::memcpy(bytes.data() + bytes.size() - filled - take, areaEnd - take, take);
    filled += take;
  }
  return bytes;
}

}  // namespace tarvex::mp3frames
