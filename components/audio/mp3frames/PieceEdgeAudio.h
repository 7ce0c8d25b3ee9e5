#pragma once

#include "components/audio/mp3frames/EdgeAudio.h"
#include "components/audio/mp3frames/Mp3FrameSource.h"
#include "components/audio/mp3frames/SeamlessPiece.h"

#include <QString>

#include <cstdint>

namespace tarvex::mp3frames {

class Mp3StreamAssembler;

// The edge audio (see EdgeAudio.h) of a piece of `source` starting at its
// sample `firstSample`, assembled in `stream` as `plan` tells (as written):
// a stretch for each encoded edge no fade covers, from the piece's first
// raw position (its last) to two frames into the copied ones, where the
// decoding of copied frames has settled to the source's own; and where the
// source is itself a piece carrying edge audio, a stretch over what of it
// the piece copies. Throws AudioError naming `outputPath` when decoding
// fails.
EdgeAudio measurePieceEdgeAudio(const Mp3FrameSource& source, const SeamlessPiecePlan& plan,
                                int64_t firstSample, const Mp3StreamAssembler& stream,
                                const QString& outputPath);

}  // namespace tarvex::mp3frames
