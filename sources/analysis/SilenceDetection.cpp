#include "sources/analysis/SilenceDetection.h"

#include <algorithm>
#include <cmath>

#include "components/audio/AudioFile2.h"

namespace tarvex {

namespace {
constexpr int kWindowMs = 5;
constexpr int kReadBlockFrames = 1 << 16;
}  // namespace

SilenceScanner::SilenceScanner(const SilenceSettings& settings, int sampleRate, int channels)
    : channels_(std::max(1, channels)),
      windowFrames_(std::max<int64_t>(1, int64_t{sampleRate} * kWindowMs / 1000)),
      minimumPauseFrames_(std::max<int64_t>(
          1, std::llround(std::max(0.0, settings.minimumSilenceSeconds) * sampleRate))),
      thresholdPower_(std::pow(10.0, settings.thresholdDb / 10.0)),
      sumOfSquares_(static_cast<size_t>(channels_), 0.0) {}

void SilenceScanner::add(const float* values, int64_t frames) {
  for (int64_t frame = 0; frame < frames; ++frame) {
    const float* sample = values + frame * channels_;
    for (int channel = 0; channel < channels_; ++channel)
      sumOfSquares_[static_cast<size_t>(channel)] +=
          static_cast<double>(sample[channel]) * sample[channel];
    if (++windowFill_ == windowFrames_) closeWindow();
  }
}

void SilenceScanner::closeWindow() {
  const double loudest = *std::max_element(sumOfSquares_.begin(), sumOfSquares_.end());
  const int64_t windowStart = position_;
  position_ += windowFill_;
  const bool quiet = loudest / static_cast<double>(windowFill_) < thresholdPower_;
  std::fill(sumOfSquares_.begin(), sumOfSquares_.end(), 0.0);
  windowFill_ = 0;
  if (quiet) {
    if (quietSince_ < 0) quietSince_ = windowStart;
    return;
  }
  if (quietSince_ >= 0 && windowStart - quietSince_ >= minimumPauseFrames_)
    pauses_.push_back({quietSince_, windowStart});
  quietSince_ = -1;
}

std::vector<SampleSpan> SilenceScanner::finish() {
  if (windowFill_ > 0) closeWindow();
  if (quietSince_ >= 0 && position_ - quietSince_ >= minimumPauseFrames_)
    pauses_.push_back({quietSince_, position_});
  quietSince_ = -1;
  std::vector<SampleSpan> sound;
  int64_t from = 0;
  for (const SampleSpan& pause : pauses_) {
    if (pause.first > from) sound.push_back({from, pause.first});
    from = pause.end;
  }
  if (position_ > from) sound.push_back({from, position_});
  return sound;
}

SilenceResult findSoundRanges(const QString& path, const SilenceSettings& settings,
                              const std::atomic<bool>& stop, bool* stopped,
                              const std::function<void(int)>& progress) {
  if (stopped) *stopped = false;
  AudioFile2 reader;
  reader.OpenRead(path);
  SilenceResult result;
  result.sampleRate = reader.SampleRate();
  const int channels = reader.Channels();
  const int64_t total = std::max<int64_t>(1, reader.Samples());
  SilenceScanner scanner(settings, result.sampleRate, channels);
  int lastPercent = -1;
  while (true) {
    if (stop.load(std::memory_order_relaxed)) {
      if (stopped) *stopped = true;
      return {};
    }
    const SampleBlock block = reader.ReadBlock(kReadBlockFrames);
    if (block.upperBound() == 0) break;
    const int64_t frames = block.upperBound() / channels;
    scanner.add(block.values.data(), frames);
    result.totalFrames += frames;
    const int percent = static_cast<int>(std::min<int64_t>(100, result.totalFrames * 100 / total));
    if (progress && percent != lastPercent) progress(percent);
    lastPercent = percent;
  }
  result.soundRanges = scanner.finish();
  result.pauses = scanner.pauses();
  return result;
}

}  // namespace tarvex
