#pragma once

#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

#include "sources/analysis/WaveformPeaks.h"

namespace tarvex {

// Accumulates decoded interleaved float frames into min/max columns. One
// accumulator covers a run of columns fed in order from `firstFrame`; columns
// before `completedColumns()` are final.
class PeakAccumulator {
 public:
  PeakAccumulator(WaveformPeaks& peaks, int64_t totalFrames, int channels, int64_t firstFrame);
  void add(const float* values, int64_t frames);
  // Marks every column the data reached as final (at the end of the data).
  void finish();
  int completedColumns() const { return completed_.load(std::memory_order_acquire); }

 private:
  WaveformPeaks& peaks_;
  int64_t totalFrames_;
  int channels_;
  int64_t position_;
  std::atomic<int> completed_{0};
};

// The exact waveform of a file decoded through the audio engine's reader,
// `threads` readers each decoding an equal share of the columns. `onProgress`
// is called now and then from the calling thread with the picture so far
// (columns not yet decoded hold what `start` held). Returns the finished
// picture, or an empty one when `stop` became true. Reader failures throw
// AudioError.
WaveformPeaks exactPeaks(const QString& path, int width, int threads, const std::atomic<bool>& stop,
                         const WaveformPeaks& start = {},
                         const std::function<void(const WaveformPeaks&)>& onProgress = {});

}  // namespace tarvex
