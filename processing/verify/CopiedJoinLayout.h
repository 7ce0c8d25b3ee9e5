#pragma once

#include <cstdint>
#include <vector>

#include "processing/verify/OutputCheck.h"

namespace tarvex::verify {

// The samples each part of a join copied frame by frame shares with the part
// before it (the first: 0). Files that cannot meet on one frame grid are
// crossfaded over less than a frame there rather than encoded again, so the
// join is that much shorter than its parts. Empty when the parts are not MP3
// files such a join could be made of.
std::vector<int64_t> copiedJoinOverlaps(const std::vector<PlannedPart>& parts);

}  // namespace tarvex::verify
