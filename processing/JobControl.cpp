#include "processing/JobControl.h"

#include <chrono>

namespace tarvex {

bool ProgressThrottle::due(int64_t done, int64_t total) {
  const int64_t now = std::chrono::duration_cast<std::chrono::milliseconds>(
                          std::chrono::steady_clock::now().time_since_epoch())
                          .count();
  if (done < total && lastMs_ >= 0 && now - lastMs_ < kIntervalMs) return false;
  lastMs_ = now;
  return true;
}

}  // namespace tarvex
