#pragma once

#include "components/audio/AudioDecoder.h"

#include <QString>

#include <memory>

namespace tarvex {

// Ogg Vorbis through libvorbisfile, which honours the granule positions: the
// length is the one the encoder recorded (the last block's padding is not
// counted), and seeking goes straight to the page that holds the frame.
class VorbisFileDecoder : public AudioDecoder {
 public:
  // Opens `fileName`; nullptr when it is not an Ogg Vorbis stream (another
  // codec in Ogg, or no Ogg at all), so that another decoder can try. Throws
  // AudioError for a Vorbis stream that cannot be read.
  static std::unique_ptr<VorbisFileDecoder> tryOpen(const QString& fileName);

  ~VorbisFileDecoder() override;
  VorbisFileDecoder(const VorbisFileDecoder&) = delete;
  VorbisFileDecoder& operator=(const VorbisFileDecoder&) = delete;

  int64_t frameCount() const override { return frameCount_; }
  int sampleRate() const override { return sampleRate_; }
  int channels() const override { return channels_; }
  void seek(int64_t frame) override;
  int read(float* out, int frames) override;

 private:
  struct Stream;
  explicit VorbisFileDecoder(const QString& fileName);
  void skipTo(int64_t frame);

  QString fileName_;
  std::unique_ptr<Stream> stream_;
  int sampleRate_ = 0;
  int channels_ = 0;
  int64_t frameCount_ = 0;
  int64_t position_ = 0;
  bool ended_ = false;
};

}  // namespace tarvex
