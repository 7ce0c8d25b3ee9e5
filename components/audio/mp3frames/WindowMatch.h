#pragma once

#include "components/audio/mp3frames/EdgeEncoder.h"
#include "components/audio/mp3frames/Mp3SideInfo.h"

#include <cstddef>
#include <vector>

namespace tarvex::mp3frames {

// Encoded frames next to copied ones must end (begin) with the window slope
// the copied frame begins (ends) with, else the overlap of the two does not
// cancel and the audio between them is damaged. The encoder picks its
// windows from the audio, so a cut near a sharp sound may want short ones
// right where the copied frames need long ones.

// The most frames encoded at one edge of a piece.
constexpr int kMostEdgeFrames = 3;

// The windows that fit before a copied frame with side information `copied`
// (after one, for windowsAfter).
EdgeWindows windowsBefore(const Mp3SideInfo& copied, const MpegFrameHeader& header);
EdgeWindows windowsAfter(const Mp3SideInfo& copied, const MpegFrameHeader& header);

// One way of encoding an edge: with `moreFrames` encoded in place of copied
// ones, and the windows forced to fit or left to the encoder.
struct EdgeTry {
  int moreFrames = 0;
  bool forced = false;
  bool last = false;  // taken whether or not the windows meet
};

// The ways tried in turn at an edge of `framesNow` encoded frames beside
// `copied` copied ones (none when the edge meets no copied frame): the
// encoder's own windows, the same one frame further in while the edge stays
// within kMostEdgeFrames and a copied frame is left, then forced windows.
std::vector<EdgeTry> edgeTries(int framesNow, size_t copied);

}  // namespace tarvex::mp3frames
