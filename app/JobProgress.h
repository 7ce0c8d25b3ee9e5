#pragma once

#include <QElapsedTimer>
#include <cstdint>

#include "config/MainSettings.h"

namespace tarvex {

class ConversionProgress;

namespace skin {
class SkinObject;
}

// The progress display of a job: the skin's "pbpos" percentage and the
// "convertpb" bar.
class JobProgress {
 public:
  // `pbpos` may be null (a skin without it); `settings` gives the skin flag.
  JobProgress(const MainSettings& settings, skin::SkinObject* pbpos, ConversionProgress& bar);

  // `done` of `total` frames: "pbpos" shows the whole percent, the bar the
  // hundredths. A total of 0 shows 0 %. Between two redraws at least
  // kRedrawMilliseconds pass (the end of a piece always shows), so drawing
  // the skin does not slow the job.
  void show(int64_t done, int64_t total);
  // Empties the percentage and the bar.
  void clear();

 private:
  static constexpr int kRedrawMilliseconds = 40;

  const MainSettings& settings_;
  skin::SkinObject* pbpos_;
  ConversionProgress& bar_;
  QElapsedTimer sinceRedraw_;
};

}  // namespace tarvex
