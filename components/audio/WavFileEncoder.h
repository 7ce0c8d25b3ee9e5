#pragma once

#include "components/audio/AudioEncoder.h"

#include <QString>

#include <cstdint>
#include <vector>

struct sf_private_tag;

namespace tarvex {

// The signed integer of `bits` bits nearest to a sample value of nominal
// range -1..1 (full scale 2^(bits-1)); values outside are clipped, NaN is 0.
int32_t pcmInteger(float value, int bits);

// PCM WAV (8, 16, 24 or 32 bits per sample) through libsndfile. Values are
// rounded to the nearest integer of the format and clipped rather than
// wrapped, so integer samples read as floats come back unchanged.
class WavFileEncoder : public AudioEncoder {
 public:
  WavFileEncoder(const QString& fileName, int sampleRate, int channels, int bitsPerSample);
  ~WavFileEncoder() override;

  int sampleRate() const override { return sampleRate_; }
  int channels() const override { return channels_; }
  void write(const float* interleaved, int frames) override;
  void finish() override;

 private:
  QString fileName_;
  sf_private_tag* file_ = nullptr;
  int sampleRate_;
  int channels_;
  int bits_ = 16;
  std::vector<int> integers_;
};

}  // namespace tarvex
