#pragma once

#include <QElapsedTimer>
#include <vector>

#include "components/output/AudioOutput.h"

namespace tarvex {

// The output without a sound device: it consumes what it is given on its own
// clock, as a device would, so every playback path runs without one. The clock
// may run faster than real time (tests). It can keep what it consumed, so the
// played audio can be compared with its source.
class NullAudioOutput : public AudioOutput {
 public:
  explicit NullAudioOutput(double speed = 1.0, bool recording = false);

  void start(int sampleRate, int channels) override;
  void stop() override;
  int64_t writableFrames() override;
  void write(const float* values, int64_t frames) override;
  int64_t pendingFrames() override;
  double speed() const override { return speed_; }
  bool audible() const override { return false; }

  // The consumed values, interleaved (empty unless recording).
  std::vector<float> takeRecording();

 private:
  int64_t consumedFrames() const;

  double speed_;
  bool recording_;
  int sampleRate_ = 0;
  int channels_ = 0;
  int64_t capacityFrames_ = 0;
  int64_t writtenFrames_ = 0;
  int64_t clockOriginFrames_ = 0;  // frames consumed when the clock last started
  bool running_ = false;
  QElapsedTimer clock_;
  std::vector<float> written_;
};

}  // namespace tarvex
