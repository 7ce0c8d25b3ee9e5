#pragma once

#include <cstdint>

namespace tarvex {

// Where the player's sound goes: a sound device or a stand-in that only keeps
// time. The player writes interleaved 32-bit float frames whenever the output
// has room, on the user-interface thread; an output never calls back.
class AudioOutput {
 public:
  virtual ~AudioOutput() = default;

  // Opens the output for frames of this format; throws AudioError when the
  // output cannot play it.
  virtual void start(int sampleRate, int channels) = 0;
  // Ends the output at once; what it still holds is dropped.
  virtual void stop() = 0;

  // Frames the output takes now without waiting.
  virtual int64_t writableFrames() = 0;
  // Appends frames (no more than writableFrames()).
  virtual void write(const float* values, int64_t frames) = 0;
  // Frames written but not heard yet.
  virtual int64_t pendingFrames() = 0;

  // How many times faster than real time the output plays (1 for a device).
  virtual double speed() const = 0;
  // False for the stand-in: stopping it at once cannot be heard.
  virtual bool audible() const = 0;
};

}  // namespace tarvex
