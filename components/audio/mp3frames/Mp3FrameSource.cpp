#include "components/audio/mp3frames/Mp3FrameSource.h"

#include "components/audio/AudioError.h"
#include "components/audio/ErrorText.h"
#include "components/audio/mp3frames/Mp3SideInfo.h"
#include "components/audio/mp3frames/MpegFrameWalker.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tarvex::mp3frames {

Mp3FrameSource::Mp3FrameSource(const QString& fileName, const QByteArray& storedEdgeAudio)
    : fileName_(fileName), file_(std::make_unique<QFile>(fileName)) {
  if (!file_->exists()) throw AudioError(openError(fileName, QStringLiteral("file not found")));
  if (!file_->open(QIODevice::ReadOnly))
    throw AudioError(openError(fileName, file_->errorString().toLower()));
  size_ = static_cast<uint64_t>(file_->size());
  if (size_ == 0) throw AudioError(openError(fileName, QStringLiteral("the file is empty")));
  data_ = file_->map(0, file_->size());
  if (data_ == nullptr) throw AudioError(openError(fileName, file_->errorString().toLower()));

  scan();
  if (!storedEdgeAudio.isEmpty()) keepMatchingEdgeAudio(storedEdgeAudio);
}

int Mp3FrameSource::lowpassHz() const {
  // The LAME tag's second byte after the encoder's name: the lowpass in
  // hundreds of Hz.
  if (!info_ || !info_->lame) return 0;
  return int{info_->lame->before[1]} * 100;
}

void Mp3FrameSource::keepMatchingEdgeAudio(const QByteArray& stored) {
  EdgeAudio audio = readEdgeAudio(stored);
  if (audio.channels != channels()) return;
  edgeAudio_.channels = audio.channels;
  for (EdgeAudioStretch& stretch : audio.stretches) {
    const uint64_t end = uint64_t{stretch.firstFrame} + stretch.frameCount;
    if (stretch.frameCount == 0 || end > frames_.size()) continue;
    const FrameEntry& first = frames_[stretch.firstFrame];
    const FrameEntry& last = frames_[end - 1];
    if (frameBytesHash(data_ + first.offset, last.offset + last.bytes - first.offset) !=
        stretch.framesHash)
      continue;
    edgeAudio_.stretches.push_back(std::move(stretch));
  }
}

Mp3FrameSource::~Mp3FrameSource() = default;

void Mp3FrameSource::fail(const QString& reason) const {
  throw AudioError(openError(fileName_, reason));
}

void Mp3FrameSource::scan() {
  MpegFrameWalker walker(data_, size_);
  bool firstFrame = true;
  while (const auto frame = walker.next()) {
    const MpegFrameHeader& header = frame->header;
    if (frame->bytes < header.mainDataOffset()) continue;
    if (firstFrame) {
      firstFrame = false;
      info_ = readInfoFrame(header, data_ + frame->offset, frame->bytes);
      if (info_) continue;
    }
    FrameEntry entry;
    entry.offset = frame->offset;
    entry.bytes = static_cast<uint16_t>(frame->bytes);
    entry.mainDataOffset = static_cast<uint8_t>(header.mainDataOffset());
    entry.bitrateIndex = static_cast<uint8_t>(header.bitrateIndex);
    const unsigned char* side = data_ + frame->offset + 4 + (header.crcProtected ? 2 : 0);
    entry.mainDataBegin = static_cast<uint16_t>(header.version == MpegFrameHeader::Version::Mpeg1
                                                    ? (side[0] << 1) | (side[1] >> 7)
                                                    : side[0]);
    frames_.push_back(entry);
  }
  skippedBytes_ = static_cast<int64_t>(walker.skippedBytes());
  if (!walker.streamHeader()) {
    if (walker.freeFormat())
      fail(QStringLiteral("free-format MP3 cannot be cut or joined without re-encoding"));
    fail(QStringLiteral("not an MPEG layer III audio file"));
  }
  if (frames_.empty()) fail(QStringLiteral("the file holds no MP3 audio frames"));
  firstHeader_ = *MpegFrameHeader::decode(readBigEndian32(data_ + frames_.front().offset));

  const int64_t raw = static_cast<int64_t>(frames_.size()) * samplesPerFrame();
  double frameBytes = 0.0;
  for (const FrameEntry& entry : frames_) frameBytes += entry.bytes;
  averageKbps_ = static_cast<int>(
      std::lround(frameBytes * 8.0 * sampleRate() / static_cast<double>(raw) / 1000.0));
  if (info_ && info_->lame) {
    startPosition_ = std::min<int64_t>(raw, info_->lame->encoderDelay + kDecoderDelay);
    // The padding lies at the end the header frame counted (the LAME tag
    // counts the frames after it): a file whose frames are not those it
    // counted lost that end (or grew), and keeps all it holds.
    const bool countsAgree = !info_->frames || *info_->frames == frames_.size();
    const int padding = countsAgree ? info_->lame->padding : 0;
    endPosition_ = std::clamp<int64_t>(raw - padding + kDecoderDelay, startPosition_, raw);
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

Mp3SideInfo Mp3FrameSource::sideInfo(size_t index) const {
  const unsigned char* frame = data_ + frames_[index].offset;
  const auto header = *MpegFrameHeader::decode(readBigEndian32(frame));
  return Mp3SideInfo::parse(header, frame + 4 + (header.crcProtected ? 2 : 0));
}

std::vector<unsigned char> Mp3FrameSource::mainData(size_t index) const {
  const FrameEntry& entry = frames_[index];
  const unsigned char* frame = data_ + entry.offset;
  const auto header = *MpegFrameHeader::decode(readBigEndian32(frame));
  const Mp3SideInfo side = sideInfo(index);
  const int wanted = side.mainDataBytes(header);
  std::vector<unsigned char> bytes = reservoirBefore(index, entry.mainDataBegin);
  const int fromOwnArea = std::clamp(wanted - static_cast<int>(bytes.size()), 0, entry.areaBytes());
  const unsigned char* area = frame + entry.mainDataOffset;
  bytes.insert(bytes.end(), area, area + fromOwnArea);
  bytes.resize(static_cast<size_t>(std::min<int>(wanted, static_cast<int>(bytes.size()))));
  return bytes;
}

}  // namespace tarvex::mp3frames
