#pragma once

#include "components/audio/mp3frames/Mp3FrameSource.h"

#include <optional>

namespace tarvex::testing {

// The first frame of `file` whose first granule's window does not meet the
// last granule's of the frame before (their overlap would not cancel), if
// any.
std::optional<size_t> firstWindowMismatch(const mp3frames::Mp3FrameSource& file);

}  // namespace tarvex::testing
