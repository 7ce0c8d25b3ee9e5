#pragma once

#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

#include "sources/SampleSpan.h"

namespace tarvex {

// What counts as a pause: every channel's level (RMS over 5 ms windows, in
// dB of full scale: a full-scale square wave is 0 dB, a full-scale sine -3 dB)
// stays below the threshold for at least the minimum length.
struct SilenceSettings {
  double thresholdDb = -40.0;
  double minimumSilenceSeconds = 1.0;
};

// Finds pauses in interleaved float PCM fed block by block, and gives the
// sounding ranges between them. Pause edges fall on 5 ms window boundaries.
class SilenceScanner {
 public:
  SilenceScanner(const SilenceSettings& settings, int sampleRate, int channels);

  // The next `frames` frames (frames × channels values).
  void add(const float* values, int64_t frames);
  // Ends the data; returns the ranges with sound: from 0 (or the end of a
  // leading pause) to the next pause, ..., the last to the end of the data
  // (or the start of a trailing pause). Audio silent throughout gives none.
  std::vector<SampleSpan> finish();

  const std::vector<SampleSpan>& pauses() const { return pauses_; }

 private:
  void closeWindow();

  int channels_;
  int64_t windowFrames_;
  int64_t minimumPauseFrames_;
  double thresholdPower_;
  std::vector<double> sumOfSquares_;  // per channel, the window under way
  int64_t windowFill_ = 0;
  int64_t position_ = 0;     // frames taken so far
  int64_t quietSince_ = -1;  // start of the current quiet run, -1: none
  std::vector<SampleSpan> pauses_;
};

// The sounding ranges of an audio file, decoded through the audio engine's
// reader at its own rate and channel count. `stop` is checked between blocks
// (a stopped run returns what it had not finished as an empty list and sets
// `*stopped`); `progress` receives 0..100. Reader failures throw AudioError.
struct SilenceResult {
  std::vector<SampleSpan> soundRanges;
  std::vector<SampleSpan> pauses;
  int sampleRate = 0;
  int64_t totalFrames = 0;
};
SilenceResult findSoundRanges(const QString& path, const SilenceSettings& settings,
                              const std::atomic<bool>& stop, bool* stopped = nullptr,
                              const std::function<void(int)>& progress = {});

}  // namespace tarvex
