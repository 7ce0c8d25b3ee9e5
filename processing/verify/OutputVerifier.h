#pragma once

#include "processing/verify/OutputCheck.h"

namespace tarvex::verify {

// Decodes `planned`'s output and the stretches of its sources and judges
// the output against the plan: the offset of each part at its start and end
// (searched within two MPEG-1 frames, 2304 samples, or two MPEG-2 frames
// below 32 kHz; four times as far for the parts of a join), the decoded
// length, the frames encoded anew (MP3 outputs), the largest difference
// outside them and, between parts, the gap and the step across each seam.
// The samples under the output's fades are left out of the alignment and
// the difference (the report says how many).
// Only windows around edges are held in memory; the difference streams.
// Throws Error (AudioError) naming the file when the output or a source
// cannot be read.
OutputCheck verifyOutput(const PlannedOutput& planned);

}  // namespace tarvex::verify
