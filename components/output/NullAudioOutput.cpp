#include "components/output/NullAudioOutput.h"

#include <algorithm>

namespace tarvex {

namespace {

// The stand-in holds about as much as a device buffer: 100 ms of its clock.
constexpr double kBufferSeconds = 0.1;

}  // namespace

NullAudioOutput::NullAudioOutput(double speed, bool recording)
    : speed_(speed > 0 ? speed : 1.0), recording_(recording) {}

void NullAudioOutput::start(int sampleRate, int channels) {
  sampleRate_ = sampleRate;
  channels_ = channels;
  capacityFrames_ =
      std::max<int64_t>(1, static_cast<int64_t>(sampleRate * speed_ * kBufferSeconds));
  writtenFrames_ = 0;
  clockOriginFrames_ = 0;
  written_.clear();
  running_ = true;
  clock_.start();
}

void NullAudioOutput::stop() {
  if (!running_) return;
  // Only what the clock consumed was heard.
  const int64_t heard = consumedFrames();
  if (recording_) written_.resize(static_cast<size_t>(heard * channels_));
  writtenFrames_ = heard;
  running_ = false;
}

int64_t NullAudioOutput::consumedFrames() const {
  if (!running_) return writtenFrames_;
  const double seconds = static_cast<double>(clock_.nsecsElapsed()) / 1e9;
  const auto byClock = clockOriginFrames_ + static_cast<int64_t>(seconds * sampleRate_ * speed_);
  return std::min(writtenFrames_, byClock);
}

int64_t NullAudioOutput::pendingFrames() {
  return writtenFrames_ - consumedFrames();
}

int64_t NullAudioOutput::writableFrames() {
  if (!running_) return 0;
  return std::max<int64_t>(0, capacityFrames_ - pendingFrames());
}

void NullAudioOutput::write(const float* values, int64_t frames) {
  if (!running_ || frames <= 0) return;
  // An output that ran dry plays new sound from the moment it arrives.
  if (pendingFrames() == 0) {
    clockOriginFrames_ = writtenFrames_;
    clock_.start();
  }
  if (recording_) written_.insert(written_.end(), values, values + frames * channels_);
  writtenFrames_ += frames;
}

std::vector<float> NullAudioOutput::takeRecording() {
  std::vector<float> values;
  const int64_t heard = consumedFrames();
  values.assign(written_.begin(),
                written_.begin() +
                    std::min<int64_t>(static_cast<int64_t>(written_.size()), heard * channels_));
  return values;
}

}  // namespace tarvex
