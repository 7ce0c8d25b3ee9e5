#include "processing/SourceFrames.h"

#include <algorithm>
#include <climits>

#include "components/audio/AudioFile2.h"
#include "sources/MulDiv.h"
#include "sources/cue/CueSheet.h"

namespace tarvex {

SourceFrames SourceFrames::of(const AudioFile2& reader) {
  SourceFrames frames;
  frames.samples = std::max<int64_t>(0, reader.Samples());
  frames.durationMs = std::max<int64_t>(0, reader.Duration());
  frames.sampleRate = reader.SampleRate();
  frames.channels = reader.Channels();
  return frames;
}

int64_t SourceFrames::beginFrame(int seconds) const {
  if (durationMs <= 0 || seconds <= 0) return 0;
  return std::clamp<int64_t>(MulDiv(int64_t{seconds} * 1000, samples, durationMs), 0, samples);
}

int64_t SourceFrames::frameAtCueFrame(int64_t cueFrame) const {
  if (cueFrame <= 0) return 0;
  if (sampleRate <= 0)
    return beginFrame(
        static_cast<int>(std::min<int64_t>(wholeSecondOfCueFrame(cueFrame), INT_MAX)));
  return std::clamp<int64_t>(MulDiv(cueFrame, sampleRate, kCueFramesPerSecond), 0, samples);
}

int64_t SourceFrames::endFrame(int seconds) const {
  if (durationMs <= 0) return samples;
  if (int64_t{seconds} >= durationMs / 1000) return samples;
  return beginFrame(seconds);
}

int64_t SourceFrames::framesFor(int seconds) const {
  if (seconds <= 0) return 0;
  if (durationMs <= 0) return int64_t{seconds} * std::max(sampleRate, 0);
  return MulDiv(int64_t{seconds} * 1000, samples, durationMs);
}

int SourceFrames::regularBlockFrames() const {
  return std::max(1, sampleRate / 5);
}

int blockRequest(int64_t frames) {
  // A block never holds more than a few seconds in practice; the cap only
  // keeps the reader's argument and the block's size in range.
  constexpr int64_t kLargest = INT_MAX / 16;
  return static_cast<int>(std::clamp<int64_t>(frames, 0, kLargest));
}

}  // namespace tarvex
