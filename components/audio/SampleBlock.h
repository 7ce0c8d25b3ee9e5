#pragma once

#include <vector>

namespace tarvex {

// Interleaved 32-bit float sample values (nominal range -1..1). Indexes run
// from 1 to upperBound(), so the upper bound is the number of values; a block
// with upper bound 0 marks the end of the data. The caller owns the block.
struct SampleBlock {
  std::vector<float> values;

  int upperBound() const { return static_cast<int>(values.size()); }
};

}  // namespace tarvex
