#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

#include "sources/cue/CueRanges.h"
#include "sources/cue/CueSheet.h"

namespace tarvex {

// A sheet for the audio file `audioPath` with one TRACK per range, sorted by
// begin. A sheet holds track starts only: a gap before a range becomes the
// track's INDEX 00 (its pregap), so the range's start stays INDEX 01; ranges
// that overlap keep their starts, and the earlier one ends where the later
// begins when read back. Throws CueSheetError for an empty list or two
// ranges starting on the same CD frame.
CueSheet cueSheetFromRanges(const QString& audioPath, std::vector<CueRange> ranges);

// The sheet as UTF-8 text with CRLF line ends. Texts lose what the format
// cannot hold: a double quote becomes a single one, line breaks become blanks.
QByteArray formatCueSheet(const CueSheet& sheet);

// Writes the sheet to `path` through a temporary file renamed into place. An
// existing file is kept and CueSheetError thrown unless `replaceExisting`
// (the caller asked the user); write failures throw CueSheetError too.
void writeCueSheet(const QString& path, const CueSheet& sheet, bool replaceExisting);

}  // namespace tarvex
