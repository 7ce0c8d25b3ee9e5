#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

#include "sources/cue/CueSheet.h"
#include "sources/cue/TrackPieces.h"

namespace tarvex {

// A sheet for the audio file `audioPath` (of `sampleRate`) with one TRACK per
// piece, sorted by first sample, each sample written as its nearest CD frame.
// A sheet holds track starts only: a gap before a piece becomes the track's
// INDEX 00 (its pregap), so the piece's start stays INDEX 01; pieces that
// overlap keep their starts, and the earlier one ends where the later begins
// when read back. Throws CueSheetError for an empty list, an unknown rate or
// two pieces starting on the same CD frame.
CueSheet cueSheetFromPieces(const QString& audioPath, std::vector<TrackPiece> pieces,
                            int sampleRate);

// The sheet as UTF-8 text with CRLF line ends. Texts lose what the format
// cannot hold: a double quote becomes a single one, line breaks become blanks.
QByteArray formatCueSheet(const CueSheet& sheet);

// Writes the sheet to `path` through a temporary file renamed into place. An
// existing file is kept and CueSheetError thrown unless `replaceExisting`
// (the caller asked the user); write failures throw CueSheetError too.
void writeCueSheet(const QString& path, const CueSheet& sheet, bool replaceExisting);

}  // namespace tarvex
