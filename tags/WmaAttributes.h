#pragma once

#include <QString>

#include "tags/WmaTagRecord.h"

namespace tarvex {

// Fills record from the file's WMA attributes. Files the ASF reader cannot
// read fall back to parseAsfFallback. When no tag is found the record stays
// as it was. The file is only read; never throws.
void ReadWmaAttributes(const QString& path, WmaTagRecord& record);

// Sets "Author", "Title", "WM/AlbumTitle", "WM/Year", "Description",
// "WM/Genre" (empty texts as empty values) and "WM/TrackNumber" from the
// record, and each of the record's other attributes (all values of a name
// replacing the file's), keeping every other part of the file. The file is rewritten through
// a temporary file in the same folder. Returns true; throws TagError when the
// file cannot be read, is no ASF file, or cannot be written, leaving it
// unchanged.
bool WriteWmaAttributes(const QString& path, const WmaTagRecord& record);

}  // namespace tarvex
