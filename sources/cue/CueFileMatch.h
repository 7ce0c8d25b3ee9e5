#pragma once

#include <QString>

#include "sources/cue/CueSheet.h"

namespace tarvex {

// The sheet that goes with an audio file: "NAME.cue" or "NAME.EXT.cue" in the
// same folder (the file's name case-insensitively); "" when there is none.
QString cueSheetBeside(const QString& audioPath);

// The audio file a sheet's FILE entry names, looked up in the sheet's folder:
// the name as written (a path relative to the sheet or absolute), else a file
// of the same base name with another audio extension (rips are often
// re-encoded after the sheet was written: "album.wav" in the sheet,
// "album.mp3" beside it). "" when none exists.
QString cueAudioPath(const CueSheet& sheet, int fileIndex, const QString& cuePath);

// Which of the sheet's FILE entries is `audioPath`: the one with the same base
// name (case-insensitive, extension ignored), else the only one; -1 when the
// sheet names other files.
int cueFileIndexFor(const CueSheet& sheet, const QString& audioPath);

}  // namespace tarvex
