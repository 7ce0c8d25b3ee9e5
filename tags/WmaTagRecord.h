#pragma once

#include <QList>
#include <QString>

#include "tags/CarriedTags.h"

namespace tarvex {

// The WMA attributes the program reads and writes. Texts are held to the
// widths of the record's fields (see fitWmaTagRecord).
struct WmaTagRecord {
  bool readFlag = false;    // a tag was found
  QString year;             // "WM/Year"
  quint16 trackNumber = 0;  // "WM/TrackNumber", else "WM/Track"
  QString artist;           // "Author"
  QString title;            // "Title"
  QString album;            // "WM/AlbumTitle"
  QString description;      // "Description"
  QString typeThreeText;    // filled only by the fallback parser
  QString genre;            // "WM/Genre"
  // Every other attribute of the header (pictures, composer, ...), in the
  // order read; filled only by the ASF reader.
  QList<WmaAttribute> others;
};

// Field widths in characters, the terminating zero included.
inline constexpr int kWmaTextWidth = 128;
inline constexpr int kWmaDescriptionWidth = 255;
inline constexpr int kWmaGenreUsed = 32;

// Cuts every text to what its field holds, on a character boundary: 127
// characters, 254 for the description, 32 for the genre.
void fitWmaTagRecord(WmaTagRecord& record);

}  // namespace tarvex
