// Any bytes through the MPEG stream reader: the tag envelope, the frame
// walker, the Info/Xing reader and the side information. Every frame found
// lies inside the bytes, follows the last one, and belongs to one stream.
#include <cstddef>
#include <cstdint>

#include "components/audio/XingHeader.h"
#include "components/audio/mp3frames/Id3v2Size.h"
#include "components/audio/mp3frames/InfoFrame.h"
#include "components/audio/mp3frames/Mp3SideInfo.h"
#include "components/audio/mp3frames/MpegFrameWalker.h"

using namespace tarvex::mp3frames;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  (void)id3v2TagBytes(data, size);
  const AudioSpan span = audioSpanOf(data, size);
  if (span.begin > span.end || span.end > size) __builtin_trap();

  MpegFrameWalker walker(data, size);
  uint64_t after = span.begin;
  int frames = 0;
  while (const auto frame = walker.next()) {
    // The walk may take tag-like bytes at the end for audio, never more.
    if (frame->offset < after || frame->offset + static_cast<uint64_t>(frame->bytes) > size ||
        walker.span().end < span.end)
      __builtin_trap();
    if (frame->header.bitrateIndex == 0 || !walker.streamHeader() ||
        frame->header.sampleRate() != walker.streamHeader()->sampleRate())
      __builtin_trap();
    after = frame->offset + static_cast<uint64_t>(frame->bytes);
    const unsigned char* bytes = data + frame->offset;
    if (frames++ == 0) {
      if (const auto info = readInfoFrame(frame->header, bytes, frame->bytes)) {
        if (info->frames && info->bytes)
          (void)plausibleStreamCounts(frame->header, *info->frames, *info->bytes);
      }
      (void)tarvex::hasTrustworthyXingHeader(bytes, frame->bytes,
                                             static_cast<int64_t>(span.end - frame->offset), false);
    }
    if (frame->bytes >= frame->header.mainDataOffset()) {
      const Mp3SideInfo side =
          Mp3SideInfo::parse(frame->header, bytes + 4 + (frame->header.crcProtected ? 2 : 0));
      (void)side.mainDataBytes(frame->header);
    }
  }
  if (walker.skippedBytes() > size) __builtin_trap();
  return 0;
}
