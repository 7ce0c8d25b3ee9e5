#include "FrameWindows.h"

namespace tarvex::testing {

std::optional<size_t> firstWindowMismatch(const mp3frames::Mp3FrameSource& file) {
  for (size_t frame = 1; frame < file.frames().size(); ++frame)
    if (!mp3frames::windowsMeet(file.firstHeader(), file.sideInfo(frame - 1), file.sideInfo(frame)))
      return frame;
  return std::nullopt;
}

}  // namespace tarvex::testing
