#pragma once

#include <QString>
#include <cstdint>
#include <vector>

namespace tarvex {

// One source of the source list, at the same index as its row.
struct listrecord {
  // Marked ranges, the pending (last) one included; ranges are whole seconds.
  int segmentCount = 1;
  QString fileName;
  std::vector<int> beginTimes{0};
  std::vector<int> endTimes{0};
  int lengthSeconds = 0;    // the reader's length in milliseconds div 1000
  int64_t lengthMs = 0;     // the reader's length in milliseconds (0: not known)
  int barMax = 0;           // position bar maximum while this source is selected
  int64_t sampleCount = 0;  // length in sample frames as the reader reports it
};

}  // namespace tarvex
