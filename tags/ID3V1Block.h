#pragma once

#include <QString>
#include <array>

namespace tarvex {

// The 128-byte ID3v1 block at the end of a file, as read. All zero when the
// file is shorter than 128 bytes.
struct ID3V1Block {
  std::array<char, 128> bytes{};

  // True when the block starts with "TAG" (case-sensitive).
  bool hasTag() const;

  // The fields decoded as ISO-8859-1 up to their first zero byte; empty when
  // the block is not a tag.
  QString title() const;
  QString artist() const;
  QString album() const;
  QString year() const;
  QString comment() const;
  // The genre byte's name (see genreFromID3V1Byte); empty without a tag.
  QString genre() const;
};

// The ID3v1 block of a file whose last bytes are tail (at most 128 of them
// are looked at; fewer than 128 give an all-zero block).
ID3V1Block parseID3V1Block(const char* tail, qsizetype size);

}  // namespace tarvex
