#pragma once

#include <QList>
#include <QString>

#include "tags/CarriedTags.h"

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
  // Every other frame of the tag (pictures, composers, lyrics, user texts,
  // described comments, ...), as ID3v2.3 frames, written after the fields.
  QList<ID3Frame> others;
};

}  // namespace tarvex
