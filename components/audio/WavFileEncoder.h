#pragma once

#include "components/audio/AudioEncoder.h"

#include <QString>

struct sf_private_tag;

namespace tarvex {

// PCM WAV (8, 16 or 32 bits per sample) through libsndfile; values outside
// -1..1 are clipped rather than wrapped.
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
};

}  // namespace tarvex
