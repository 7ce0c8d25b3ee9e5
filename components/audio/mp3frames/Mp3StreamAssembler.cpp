#include "components/audio/mp3frames/Mp3StreamAssembler.h"

#include "components/audio/mp3frames/MpegCrc16.h"

#include <algorithm>

namespace tarvex::mp3frames {

namespace {
constexpr size_t kWriteSlice = 4 << 20;
}

void Mp3StreamAssembler::addChunk(const unsigned char* data, size_t size) {
  if (!chunks_.empty() && chunks_.back().data + chunks_.back().size == data)
    chunks_.back().size += size;
  else
    chunks_.push_back({data, size});
}

void Mp3StreamAssembler::addFrame(std::vector<unsigned char> frame, int bitrateIndex) {
  if (frameOffsets_.empty()) firstBitrateIndex_ = bitrateIndex;
  bitrateVaries_ = bitrateVaries_ || bitrateIndex != firstBitrateIndex_;
  frameOffsets_.push_back(bytes_);
  bytes_ += frame.size();
  ownFrames_.push_back(std::move(frame));
  chunks_.push_back({ownFrames_.back().data(), ownFrames_.back().size()});
}

void Mp3StreamAssembler::addPacked(PackedFrames packed) {
  for (size_t i = 0; i < packed.frames.size(); ++i)
    addFrame(std::move(packed.frames[i]), packed.bitrateIndexes[i]);
}

void Mp3StreamAssembler::addFrames(const Mp3FrameSource& source, size_t first, size_t last) {
  const std::vector<FrameEntry>& frames = source.frames();
  for (size_t index = first; index <= last && index < frames.size(); ++index) {
    const FrameEntry& frame = frames[index];
    if (frameOffsets_.empty()) firstBitrateIndex_ = frame.bitrateIndex;
    bitrateVaries_ = bitrateVaries_ || frame.bitrateIndex != firstBitrateIndex_;
    frameOffsets_.push_back(bytes_);
    bytes_ += frame.bytes;
    addChunk(source.bytes() + frame.offset, frame.bytes);
  }
}

std::vector<unsigned char> Mp3StreamAssembler::frameBytes(size_t first, size_t end) const {
  end = std::min(end, frameOffsets_.size());
  if (first >= end) return {};
  const uint64_t from = frameOffsets_[first];
  const uint64_t to = end < frameOffsets_.size() ? frameOffsets_[end] : bytes_;
  std::vector<unsigned char> bytes;
  bytes.reserve(static_cast<size_t>(to - from));
  uint64_t chunkStart = 0;
  for (const Chunk& chunk : chunks_) {
    const uint64_t chunkEnd = chunkStart + chunk.size;
    const uint64_t begin = std::max(from, chunkStart);
    const uint64_t stop = std::min(to, chunkEnd);
    if (begin < stop)
      bytes.insert(bytes.end(), chunk.data + (begin - chunkStart),
                   chunk.data + (stop - chunkStart));
    if (chunkEnd >= to) break;
    chunkStart = chunkEnd;
  }
  return bytes;
}

bool Mp3StreamAssembler::write(const QString& outputPath, const QByteArray& id3Tag,
                               const MpegFrameHeader& streamHeader, LameTagDetails lame,
                               int quality, const std::atomic<bool>* stopFlag) const {
  if (stopRequested(stopFlag)) return false;
  InfoFrameContent content;
  content.vbr = bitrateVaries_;
  content.audioFrames = frameCount();
  content.audioBytes = bytes_;
  content.frameOffsets = frameOffsets_;
  content.quality = quality;
  content.lame = std::move(lame);
  uint16_t crc = 0;
  for (const Chunk& chunk : chunks_) crc = lameCrc(chunk.data, chunk.size, crc);
  content.musicCrc = crc;
  const std::vector<unsigned char> header =
      buildInfoFrame(streamHeader, firstBitrateIndex_, content);

  LosslessOutput output(outputPath);
  output.write(id3Tag.constData(), static_cast<size_t>(id3Tag.size()));
  output.write(header.data(), header.size());
  for (const Chunk& chunk : chunks_) {
    for (size_t done = 0; done < chunk.size; done += kWriteSlice) {
      if (stopRequested(stopFlag)) return false;
      output.write(chunk.data + done, std::min(kWriteSlice, chunk.size - done));
    }
  }
  output.commit();
  return true;
}

}  // namespace tarvex::mp3frames
