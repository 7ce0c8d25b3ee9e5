#pragma once

namespace tarvex {

// The sample formats the engine reads, converts and plays. Files claiming
// anything outside are refused: a rate of a few hertz would make the
// resampler produce gigabytes per block, and the converter and the output
// handle at most 7.1 sound.
inline constexpr int kMinPcmRate = 1000;
inline constexpr int kMaxPcmRate = 768000;
inline constexpr int kMaxPcmChannels = 8;

inline bool isPcmFormatSupported(int sampleRate, int channels) {
  return sampleRate >= kMinPcmRate && sampleRate <= kMaxPcmRate && channels >= 1 &&
         channels <= kMaxPcmChannels;
}

}  // namespace tarvex
