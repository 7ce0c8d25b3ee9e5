#pragma once

#include <QString>
#include <cstdint>
#include <vector>

#include "sources/analysis/AudioRange.h"
#include "sources/cue/CueSheet.h"

namespace tarvex {

// One track of a sheet as a range of its audio file, in CD frames.
struct CueRange {
  int sheetTrackNumber = 0;  // the TRACK number as written
  QString title;
  QString performer;       // the track's, else the sheet's
  int64_t beginFrame = 0;  // INDEX 01
  int64_t endFrame = -1;   // the next track's INDEX 01; -1: to the end of the audio
};

// The ranges of the tracks that play from `files[fileIndex]`, in sheet order:
// each from its INDEX 01 to the next such track's INDEX 01, the last to the end.
std::vector<CueRange> cueTrackRanges(const CueSheet& sheet, int fileIndex);

// As above with the audio's length known: the last range ends at the end.
// Throws CueSheetError when a track starts at or after the end of the audio
// (the sheet belongs to another file or a shortened one).
std::vector<CueRange> cueTrackRanges(const CueSheet& sheet, int fileIndex, int64_t audioLengthMs,
                                     const QString& audioPath);

// Marks are whole seconds: every track boundary is rounded to the nearest
// second (half a second up), the same boundary closing one range and opening
// the next so the pieces stay contiguous; the end of the audio is
// `lengthSeconds`. A track shorter than the rounding leaves (after rounding
// to zero length) is merged away: the result may hold fewer ranges than the
// sheet has tracks; `kept` (when given) receives the indexes of the ranges kept.
std::vector<Segment> roundToWholeSeconds(const std::vector<CueRange>& ranges, int lengthSeconds,
                                         std::vector<int>* kept = nullptr);

}  // namespace tarvex
