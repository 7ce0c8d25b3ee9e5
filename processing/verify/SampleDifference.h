#pragma once

#include <cstdint>
#include <vector>

#include "processing/verify/ReencodedFrames.h"

namespace tarvex {
class AudioFile2;
}

namespace tarvex::verify {

struct Difference {
  double largest = 0;    // full scale 1.0
  int64_t compared = 0;  // sample frames compared
};

// Compares `count` frames of `output` from `outputStart` with `source` from
// `sourceStart` (both open, of one rate and channel count), block by block,
// leaving out the output samples inside `excluded` (ordered spans) and those
// past the output's end.
Difference compareStretch(AudioFile2& output, int64_t outputStart, AudioFile2& source,
                          int64_t sourceStart, int64_t count,
                          const std::vector<SampleSpan>& excluded);

}  // namespace tarvex::verify
