#pragma once

#include <QString>

#include "tags/CarriedTags.h"

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
  // The piece's place among the pieces of its source, "n/N"; set per piece
  // when it is written (a source's own track number is not carried over).
  QString track;
  // The rest of the source's tag that its pieces carry (pictures, composer,
  // ...), in the source's own tag family; written after the fields above
  // onto pieces of that family.
  CarriedTags carried;
};

}  // namespace tarvex
