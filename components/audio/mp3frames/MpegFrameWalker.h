#pragma once

#include "components/audio/mp3frames/MpegFrameHeader.h"

#include <cstdint>
#include <optional>

namespace tarvex::mp3frames {

// Where the MPEG audio of a file image lies: past the ID3v2 tags at its
// start, before the ID3v1 and APE tags at its end.
struct AudioSpan {
  uint64_t begin = 0;
  uint64_t end = 0;
};
AudioSpan audioSpanOf(const unsigned char* data, uint64_t size);

// One layer III frame found in a file image.
struct WalkedFrame {
  uint64_t offset = 0;
  MpegFrameHeader header;
  int bytes = 0;
};

// Walks the layer III frames of a file image (mapped or read whole), the one
// way every reader of MPEG audio here finds them. The first frame is a valid
// header followed by another of the same stream (a lone plausible header is
// often chance), looked for within 64 KiB of the audio's start; after damage
// the next such pair is looked for within 64 KiB, and the walk ends when
// none is found. Frames of another rate, version or channel count and
// free-format frames are not of the stream and count as damage. Reads only
// inside [data, data + size): any bytes are safe.
class MpegFrameWalker {
 public:
  static constexpr uint64_t kSearchLimit = 64 * 1024;

  MpegFrameWalker(const unsigned char* data, uint64_t size);

  // The next frame, or null at the end of the stream.
  std::optional<WalkedFrame> next();

  const AudioSpan& span() const { return span_; }
  // Bytes stepped over between frames (damage); the start's search not counted.
  uint64_t skippedBytes() const { return skipped_; }
  // A free-format stream at the audio's start: a free-format header followed
  // by another of the same stream (such frames carry no size to walk by).
  bool freeFormat() const { return freeFormat_; }
  // The first frame's header: the stream every later frame must match.
  const std::optional<MpegFrameHeader>& streamHeader() const { return stream_; }

 private:
  std::optional<MpegFrameHeader> headerAt(uint64_t at) const;
  bool sameStream(const MpegFrameHeader& header) const;
  // A frame of the stream at `at`, followed by another or by the audio's end.
  bool confirmedAt(uint64_t at) const;
  std::optional<uint64_t> resync(uint64_t from) const;
  // Frames of the stream follow one another from `at` to the file's very end.
  bool chainsToFileEnd(uint64_t at) const;
  void findFirst();
  bool freeFormatPairAt(uint64_t at, const MpegFrameHeader& header) const;

  const unsigned char* data_;
  uint64_t size_;
  AudioSpan span_;
  uint64_t at_ = 0;
  bool started_ = false;
  bool ended_ = false;
  bool freeFormat_ = false;
  uint64_t skipped_ = 0;
  std::optional<MpegFrameHeader> stream_;
};

}  // namespace tarvex::mp3frames
