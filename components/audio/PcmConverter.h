#pragma once

#include <cstdint>
#include <vector>

struct SwrContext;

namespace tarvex {

// Converts interleaved float frames from one sample rate and channel count to
// another through libswresample. Every input frame is accounted for: flush()
// hands out what the resampler still holds at the end of the data.
class PcmConverter {
 public:
  PcmConverter(int inputRate, int inputChannels, int outputRate, int outputChannels);
  ~PcmConverter();
  PcmConverter(const PcmConverter&) = delete;
  PcmConverter& operator=(const PcmConverter&) = delete;

  int inputRate() const { return inputRate_; }
  int inputChannels() const { return inputChannels_; }
  int outputRate() const { return outputRate_; }
  int outputChannels() const { return outputChannels_; }

  // Replaces `out` with the converted frames of `frames` input frames.
  void convert(const float* input, int frames, std::vector<float>& out);
  // Replaces `out` with the frames still held; the converter is then empty.
  void flush(std::vector<float>& out);
  // Drops whatever is held (after a seek).
  void reset();

 private:
  void run(const float* input, int frames, std::vector<float>& out);

  SwrContext* context_ = nullptr;
  int inputRate_;
  int inputChannels_;
  int outputRate_;
  int outputChannels_;
};

}  // namespace tarvex
