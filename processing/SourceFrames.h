#pragma once

#include <cstdint>

namespace tarvex {

class AudioFile2;

// Whole seconds of an open source mapped to its sample frames through the
// reader's length: MulDiv(seconds × 1000, Samples, Duration), kept inside
// the source. An end at or past the source's whole-second length is the last
// frame, so the fraction of a second after it is not lost.
struct SourceFrames {
  int64_t samples = 0;
  int64_t durationMs = 0;
  int sampleRate = 0;
  int channels = 0;

  static SourceFrames of(const AudioFile2& reader);

  int64_t beginFrame(int seconds) const;
  // The frame at a CD frame (1/75 s) of a CUE sheet, exact where the rate
  // is known.
  int64_t frameAtCueFrame(int64_t cueFrame) const;
  int64_t endFrame(int seconds) const;
  // Frames of a fade lasting `seconds`.
  int64_t framesFor(int seconds) const;
  // The frames a regular block asks for: a fifth of a second, so the event
  // queue is pumped often and little audio waits in the writer.
  int regularBlockFrames() const;
};

// A frame count as the reader's int argument.
int blockRequest(int64_t frames);

}  // namespace tarvex
