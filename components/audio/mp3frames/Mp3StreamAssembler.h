#pragma once

#include "components/audio/mp3frames/FrameRepack.h"
#include "components/audio/mp3frames/InfoFrame.h"
#include "components/audio/mp3frames/LosslessOutput.h"
#include "components/audio/mp3frames/Mp3FrameSource.h"

#include <QByteArray>

#include <atomic>
#include <deque>
#include <vector>

namespace tarvex::mp3frames {

// Collects the audio frames of a new MP3 stream (frames made here and runs of
// frames copied from sources, which stay mapped until written) and writes them
// behind an ID3v2 tag and a fresh Xing/Info + LAME header frame.
class Mp3StreamAssembler {
 public:
  void addFrame(std::vector<unsigned char> frame, int bitrateIndex);
  void addPacked(PackedFrames packed);
  // Frames `first` to `last` (inclusive) of `source`.
  void addFrames(const Mp3FrameSource& source, size_t first, size_t last);

  uint32_t frameCount() const { return static_cast<uint32_t>(frameOffsets_.size()); }
  // Where each frame starts, counted from the first frame's first byte.
  const std::vector<uint64_t>& frameOffsets() const { return frameOffsets_; }
  // The bytes of frames [first, end), one after another as written.
  std::vector<unsigned char> frameBytes(size_t first, size_t end) const;

  // Returns false when `stopFlag` was raised (the output is then removed).
  bool write(const QString& outputPath, const QByteArray& id3Tag,
             const MpegFrameHeader& streamHeader, LameTagDetails lame, int quality,
             const std::atomic<bool>* stopFlag) const;

 private:
  struct Chunk {
    const unsigned char* data;
    size_t size;
  };
  void addChunk(const unsigned char* data, size_t size);

  std::deque<std::vector<unsigned char>> ownFrames_;
  std::vector<Chunk> chunks_;
  std::vector<uint64_t> frameOffsets_;
  uint64_t bytes_ = 0;
  int firstBitrateIndex_ = 0;
  bool bitrateVaries_ = false;
};

}  // namespace tarvex::mp3frames
