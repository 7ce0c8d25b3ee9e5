#pragma once

#include <vector>

#include "sources/SourceRecord.h"
#include "sources/analysis/SilenceDetection.h"

namespace tarvex {

// The confirmed ranges Find silences marks on a source: one per stretch of
// sound, shown in whole seconds rounded outward, and cut at the sound's exact
// samples. Where two sounds round into one row, the row keeps whole-second
// edges. Empty when the search found no sound.
std::vector<MarkedRange> silenceMarks(const SourceRecord& source, const SilenceResult& result);

}  // namespace tarvex
