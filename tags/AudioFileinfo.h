#pragma once

#include <QString>

namespace tarvex {

// The tag texts of one source file, kept parallel to the source list. An empty
// text means the field is absent.
struct AudioFileinfo {
  QString title;
  QString artist;
  QString year;
  QString album;
  QString comment;
  QString genre;
};

}  // namespace tarvex
