#pragma once

#include <QByteArray>
#include <array>

namespace tarvex {

// The frames the program reads and writes, in the order they are written:
// title, artist, album, track, year, genre, comment.
inline constexpr int kID3FrameIdCount = 7;
inline constexpr std::array<const char*, kID3FrameIdCount> ID3FrameIds = {
    "TIT2", "TPE1", "TALB", "TRCK", "TYER", "TCON", "COMM"};
inline constexpr int kYearSlot = 4;
inline constexpr int kGenreSlot = 5;
inline constexpr int kCommentSlot = 6;

// Version 2.4 records the year as the start of a recording time stamp.
inline constexpr const char* kRecordingTimeId = "TDRC";

// The same frames as ID3v2.2 names them, with three letters.
inline constexpr std::array<const char*, kID3FrameIdCount> ID3V22FrameIds = {
    "TT2", "TP1", "TAL", "TRK", "TYE", "TCO", "COM"};

// Position of id in ID3FrameIds (exact, case-sensitive), or -1; with
// `threeLetterIds`, in ID3V22FrameIds. The recording time is read into the
// year's slot.
inline int id3FrameSlot(const QByteArray& id, bool threeLetterIds = false) {
  if (!threeLetterIds && id == kRecordingTimeId) return kYearSlot;
  const auto& ids = threeLetterIds ? ID3V22FrameIds : ID3FrameIds;
  for (int i = 0; i < kID3FrameIdCount; ++i) {
    if (id == ids[i]) return i;
  }
  return -1;
}

}  // namespace tarvex
