#pragma once

#include <QString>
#include <cstdint>
#include <utility>
#include <vector>

#include "processing/verify/OutputCheck.h"
#include "sources/SampleSpan.h"

namespace tarvex::verify {

// The frames of an MP3 output that were encoded anew rather than copied.
struct ReencodedFrames {
  int outputFrames = 0;
  int reencoded = 0;
  // The output samples (as a gapless decoder counts them) those frames
  // decode to, widened by one granule on either side and the decoder's synthesis memory
  // after, in order and merged.
  std::vector<SampleSpan> spans;  // in output samples
};

// Compares the main data of every audio frame of `outputPath` (an MP3) with
// that of the frames of the planned parts' sources around their planned
// stretches: a frame whose main data is found in none was encoded anew. A
// source that is not an MP3 has no frames to match. Throws AudioError when
// the output cannot be read as MP3.
ReencodedFrames findReencodedFrames(const QString& outputPath,
                                    const std::vector<PlannedPart>& parts);

}  // namespace tarvex::verify
