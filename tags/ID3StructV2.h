#pragma once

#include <QString>

namespace tarvex {

// The texts of an ID3v2 tag the program knows about.
struct ID3StructV2 {
  QString title;
  QString artist;
  QString album;
  QString year;
  QString track;
  QString comment;
  QString genre;
};

}  // namespace tarvex
