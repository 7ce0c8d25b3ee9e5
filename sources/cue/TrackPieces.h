#pragma once

#include <QString>
#include <cstdint>
#include <vector>

#include "sources/SampleSpan.h"
#include "sources/Segment.h"
#include "sources/SourceRecord.h"
#include "sources/cue/CueSheet.h"

namespace tarvex {

// One track of a sheet as a piece of its source: the TRACK number, the texts
// the piece is tagged with and the samples it covers.
struct TrackPiece {
  int number = 0;  // the TRACK number as written; 0 for a track made from marks
  QString title;
  QString performer;  // the track's, else the sheet's
  SampleSpan span;    // in the source's sample frames
};

// The sample of a CD frame at `sampleRate`, and the CD frame of a sample,
// each the nearest. At any rate of 75 Hz or more a CD frame comes back from
// its sample unchanged, so a sheet saved from marks read from a sheet keeps
// its positions.
int64_t sampleAtCueFrame(int64_t cdFrame, int sampleRate);
int64_t cueFrameAtSample(int64_t sample, int sampleRate);

// The tracks of a sheet that play from `files[fileIndex]`, which is `source`,
// in sheet order: each from its INDEX 01 to the next such track's INDEX 01,
// the last to the end of the source. Throws CueSheetError when a track starts
// at or after the end of the audio (the sheet belongs to another file or a
// shortened one), or when the source's sample rate is not known.
std::vector<TrackPiece> trackPiecesOf(const CueSheet& sheet, int fileIndex,
                                      const SourceRecord& source);

// Marks are whole seconds: every track boundary is rounded to the nearest
// second (half a second up), the same boundary closing one range and opening
// the next so the pieces stay contiguous; the end of the audio is
// `lengthSeconds`. A track shorter than the rounding leaves (after rounding
// to zero length) is merged away: the result may hold fewer ranges than the
// sheet has tracks; `kept` (when given) receives the indexes of the pieces kept.
std::vector<Segment> roundToWholeSeconds(const std::vector<TrackPiece>& pieces, int sampleRate,
                                         int lengthSeconds, std::vector<int>* kept = nullptr);

}  // namespace tarvex
