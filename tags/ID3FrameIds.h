#pragma once

#include <QByteArray>
#include <array>

namespace tarvex {

// The frames the program reads and writes, in the order they are written:
// title, artist, album, track, year, genre, comment.
inline constexpr int kID3FrameIdCount = 7;
inline constexpr std::array<const char*, kID3FrameIdCount> ID3FrameIds = {
    "TIT2", "TPE1", "TALB", "TRCK", "TYER", "TCON", "COMM"};
inline constexpr int kCommentSlot = 6;

// Position of id in ID3FrameIds (exact, case-sensitive), or -1.
inline int id3FrameSlot(const QByteArray& id) {
  for (int i = 0; i < kID3FrameIdCount; ++i) {
    if (id == ID3FrameIds[i]) return i;
  }
  return -1;
}

}  // namespace tarvex
