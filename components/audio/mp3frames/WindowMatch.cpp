#include "components/audio/mp3frames/WindowMatch.h"

namespace tarvex::mp3frames {

EdgeWindows windowsBefore(const Mp3SideInfo& copied, const MpegFrameHeader& header) {
  return copied.opensLong(header, 0) ? EdgeWindows::Long : EdgeWindows::Short;
}

EdgeWindows windowsAfter(const Mp3SideInfo& copied, const MpegFrameHeader& header) {
  return copied.closesLong(header, header.granules() - 1) ? EdgeWindows::Long : EdgeWindows::Short;
}

std::vector<EdgeTry> edgeTries(int framesNow, size_t copied) {
  if (copied == 0) return {{0, false, true}};
  std::vector<EdgeTry> tries = {{0, false, false}};
  if (framesNow < kMostEdgeFrames && copied > 1) tries.push_back({1, false, false});
  tries.push_back({0, true, true});
  return tries;
}

}  // namespace tarvex::mp3frames
