#pragma once

#include <QElapsedTimer>
#include <cstdint>

#include "app/views/WindowParts.h"

namespace tarvex {

class ConversionProgress;

// The progress display of a job: the skin's "pbpos" percentage and the
// "convertpb" bar.
class JobProgress {
 public:
  JobProgress(const WindowParts& parts, ConversionProgress& bar);

  // `done` of `total` frames: "pbpos" shows the whole percent, the bar the
  // hundredths. A total of 0 shows 0 %. Between two redraws at least
  // kRedrawMilliseconds pass (the end of a piece always shows), so drawing
  // the skin does not slow the job.
  void show(int64_t done, int64_t total);
  // Empties the percentage and the bar.
  void clear();

 private:
  static constexpr int kRedrawMilliseconds = 40;

  const WindowParts& parts_;
  ConversionProgress& bar_;
  QElapsedTimer sinceRedraw_;
};

}  // namespace tarvex
