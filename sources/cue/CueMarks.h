#pragma once

#include <QString>

#include "sources/SourceRecord.h"
#include "sources/cue/CueSheet.h"

namespace tarvex {

// Marks a source from a sheet: one confirmed range per track that plays from
// the source (whole seconds, see roundToWholeSeconds, with the track's exact
// samples as its edges) carrying the track's title and performer, then a
// pending range over the whole source. The sheet's album, date and genre (and
// its performer where the source has no artist) go into the source's tags.
// Throws CueSheetError when the sheet's tracks do not fit the audio or the
// source's rate is not known; the record is then unchanged.
void markFromCueSheet(SourceRecord& record, const CueSheet& sheet, int fileIndex);

// Reads `sheetPath` and marks the source from the FILE entry that is the
// source. Throws CueSheetError for an unreadable sheet or one that names
// other files.
void markFromCueFile(SourceRecord& record, const QString& sheetPath);

// Marks a source from `sheetPath`, or when that is empty from the sheet
// beside it (cueSheetBeside). Returns the sheet used, "" when there is none
// (the record is then unchanged). Throws CueSheetError as markFromCueFile.
QString markFromSheetFor(SourceRecord& record, const QString& sheetPath);

// The sheet of the ranges a Custom job cuts from the record (every confirmed
// range, or the lone pending one), each where the plan cuts it (markedSpan),
// with their titles and performers and the source's album and artist. Throws
// CueSheetError when two ranges start on one CD frame or the source's rate is
// not known.
CueSheet cueSheetOfMarks(const SourceRecord& record);

// The sheet "Save marks" writes over the existing sheet `oldPath`: the marks'
// sheet with what they do not describe kept from the old one
// (keepWhatMarksDoNotSay). An old sheet that cannot be read keeps nothing.
CueSheet cueSheetOfMarksOver(const SourceRecord& record, const QString& oldPath);

// Where "Save marks" puts a source's sheet: "NAME.cue" beside it.
QString marksSheetPath(const QString& audioPath);

}  // namespace tarvex
