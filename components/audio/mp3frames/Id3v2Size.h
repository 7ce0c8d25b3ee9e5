#pragma once

#include <cstdint>
#include <optional>

namespace tarvex::mp3frames {

// The bytes of an ID3v2 tag: its body (after the 10-byte header, extended
// header and frames) and the whole tag (header, body and footer).
struct Id3v2Extent {
  uint64_t body = 0;
  uint64_t whole = 0;
};

// The extent of the ID3v2 tag whose header starts at `header`, or null when
// the bytes are no tag header. Every reader of MPEG files finds the audio
// and the tag through this one rule: the four size bytes are syncsafe, and a
// size byte with its top bit set means the bytes are no tag (they are left
// to the frame search, which steps over them); only version 2.4 has a
// footer. `available` bytes can be read from `header` on; fewer than ten
// make no tag. The size is not checked against the file: callers clamp.
constexpr std::optional<Id3v2Extent> id3v2Extent(const unsigned char* header, uint64_t available) {
  if (available < 10 || header[0] != 'I' || header[1] != 'D' || header[2] != '3') return {};
  if (header[3] == 0xFF || header[4] == 0xFF) return {};
  const unsigned char* size = header + 6;
  if (((size[0] | size[1] | size[2] | size[3]) & 0x80) != 0) return {};
  const uint64_t body = (uint64_t{size[0]} << 21) | (uint64_t{size[1]} << 14) |
                        (uint64_t{size[2]} << 7) | uint64_t{size[3]};
  const bool footer = header[3] == 4 && (header[5] & 0x10) != 0;
  return Id3v2Extent{body, 10 + body + (footer ? 10 : 0)};
}

// The whole tag's bytes, 0 without a tag.
constexpr uint64_t id3v2TagBytes(const unsigned char* header, uint64_t available) {
  const auto extent = id3v2Extent(header, available);
  return extent ? extent->whole : 0;
}

}  // namespace tarvex::mp3frames
