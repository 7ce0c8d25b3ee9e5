#pragma once

#include <cstdint>

namespace tarvex {

// One open source file, decoded to interleaved float frames in the file's own
// sample rate and channel count. Positions are frames from the start.
class AudioDecoder {
 public:
  virtual ~AudioDecoder() = default;

  virtual int64_t frameCount() const = 0;
  virtual int sampleRate() const = 0;
  virtual int channels() const = 0;
  // The next read starts at `frame` (clamped to 0..frameCount()).
  virtual void seek(int64_t frame) = 0;
  // Decodes up to `frames` frames into `out` (frames × channels values);
  // returns the frames delivered, 0 at the end of the data.
  virtual int read(float* out, int frames) = 0;
};

}  // namespace tarvex
