#pragma once

#include "components/audio/AudioDecoder.h"

#include <QString>
#include <cstdio>

struct mpg123_handle_struct;

namespace tarvex {

// MPEG audio layer I/II/III through libmpg123. The length comes from a full
// frame scan and honours the encoder delay and padding recorded in a LAME/Xing
// header (gapless decoding), so frameCount() equals the frames read() delivers
// and seek() is exact to the frame. A file cut short of the frames its header
// counts keeps the header's start trim and loses nothing at its end. A caller
// that already measured the length (the probe did) passes it as `knownFrames`
// and the scan is skipped: seeks then walk the frame headers up to their
// target instead, still exact.
class Mpg123Decoder : public AudioDecoder {
 public:
  explicit Mpg123Decoder(const QString& fileName, int64_t knownFrames = 0);
  ~Mpg123Decoder() override;
  Mpg123Decoder(const Mpg123Decoder&) = delete;
  Mpg123Decoder& operator=(const Mpg123Decoder&) = delete;

  int64_t frameCount() const override { return frameCount_; }
  int sampleRate() const override { return sampleRate_; }
  int channels() const override { return channels_; }
  void seek(int64_t frame) override;
  int read(float* out, int frames) override;

 private:
  [[noreturn]] void fail(const QString& reason) const;
  void openStream(int64_t knownFrames);
  void openHandle();
  int64_t scannedLength();
  void releaseHandle();

  QString fileName_;
  mpg123_handle_struct* handle_ = nullptr;
  std::FILE* file_ = nullptr;  // the file, read through a buffer by the handle
  int64_t frameCount_ = 0;
  int64_t position_ = 0;
  int sampleRate_ = 0;
  int channels_ = 0;
  bool ended_ = false;
};

}  // namespace tarvex
