#pragma once

#include <cstdint>
#include <vector>

#include "sources/SampleSpan.h"
#include "sources/Segment.h"

namespace tarvex {

// Sounding ranges as whole-second marks: each begin rounds down and each end
// up, so no sound is cut off, except that an edge within 10 ms past a whole
// second (two of the detector's 5 ms windows) is taken as that second; ends
// stop at `lengthSeconds`. A pause keeps its cut even when rounding closes or
// overlaps it: the two ranges then meet at the whole second nearest the
// pause's middle (they are joined only when that would leave one empty).
std::vector<Segment> outwardToWholeSeconds(const std::vector<SampleSpan>& ranges, int sampleRate,
                                           int lengthSeconds);

}  // namespace tarvex
