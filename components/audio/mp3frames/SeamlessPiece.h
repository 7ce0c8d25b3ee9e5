#pragma once

#include "components/audio/mp3frames/Mp3FrameSource.h"

#include <cstdint>
#include <vector>

namespace tarvex::mp3frames {

class EdgeEncoder;
class Mp3StreamAssembler;

// Linear fades over a piece's first and last samples (0 for none), the
// gain rising from 0 to 1 (falling from 1 to 0) over their samples.
struct PieceFades {
  int64_t in = 0;
  int64_t out = 0;
};

// The gain of the piece's sample `index` of `samples` under `fades`.
double fadeGain(const PieceFades& fades, int64_t index, int64_t samples);

// How a piece [firstSample, endSample) is written with seamless edges: the
// source's frames in the middle are copied bit for bit, only the frames that
// hold each edge are encoded again from the decoded audio, so that whatever
// a decoder gives before and after the piece (the delay and padding) is
// silence, never the neighbouring audio. A piece that starts at the source's
// start or ends at its end copies that edge, as the source holds no
// neighbour there. A fade's samples are encoded (faded) too, with the frames
// the fade reaches. A piece too short to copy any frame is encoded whole.
struct SeamlessPiecePlan {
  int64_t samples = 0;
  bool copies = false;    // false: leadFrames encode the whole piece
  size_t firstFrame = 0;  // source frames copied, inclusive, when `copies`
  size_t lastFrame = 0;
  bool copiedStart = false;  // the source's own start is copied
  bool silentFrame = false;  // ...behind a silent frame carrying the reservoir
  int leadFrames = 0;        // encoded frames before the copied ones
  int leadZeros = 0;         // silent samples the encoder is fed before the piece
  int tailFrames = 0;        // encoded frames after them
  int reservoirBytes = 0;    // what the first copied frames draw on from before
  int encoderDelay = 0;
  int padding = 0;
  PieceFades fades;
};

// Throws AudioError naming the source for a range outside it or empty.
SeamlessPiecePlan planSeamlessPiece(const Mp3FrameSource& source, int64_t firstSample,
                                    int64_t endSample, const PieceFades& fades = {});

// Adds the frames of `plan` to `stream` and leaves `plan` telling what was
// written: an edge may take a frame more than planned, in place of a copied
// one, where the encoder's windows would not meet the copied frame's, and
// whole encoded frames of silence may go in front (a longer delay) where the
// reservoir the copied frames need did not fit otherwise; the padding
// stays. Throws AudioError naming `outputPath` when the encoder fails. The
// edges are encoded with `encoder`.
void assembleSeamlessPiece(const Mp3FrameSource& source, SeamlessPiecePlan& plan,
                           int64_t firstSample, const QString& outputPath, EdgeEncoder& encoder,
                           Mp3StreamAssembler& stream);

}  // namespace tarvex::mp3frames
