#pragma once

#include "sources/cue/CueSheet.h"
#include "sources/cue/TrackPieces.h"
#include "tags/AudioFileinfo.h"

namespace tarvex {

// The tags of piece `number` of `count` cut from track `piece` of a sheet: the
// source's tags with the track's title and performer (the sheet's performer
// when the track has none), the sheet's title as the album, its REM DATE and
// REM GENRE where the source has none, and the track "number/count". Texts the
// sheet leaves empty keep the source's.
AudioFileinfo cuePieceTags(const AudioFileinfo& source, const CueSheet& sheet,
                           const TrackPiece& piece, int number, int count);

}  // namespace tarvex
