#pragma once

namespace tarvex {

// One output file being written. It takes interleaved float frames in its
// own input format (sampleRate(), channels()); the writer converts to it.
class AudioEncoder {
 public:
  virtual ~AudioEncoder() = default;

  virtual int sampleRate() const = 0;
  virtual int channels() const = 0;
  virtual void write(const float* interleaved, int frames) = 0;
  // Flushes the encoder and completes the file; nothing may follow.
  virtual void finish() = 0;
};

}  // namespace tarvex
