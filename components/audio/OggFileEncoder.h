#pragma once

#include "components/audio/AudioEncoder.h"
#include "components/audio/OutputFile.h"

#include <ogg/ogg.h>
#include <vorbis/codec.h>

#include <cstdint>

namespace tarvex {

// The Ogg Vorbis output format. `quality` -1: bitrate-managed with the
// nominal, minimum and maximum bitrates (kbit/s, 0 meaning none); any other
// value: quality mode with quality ÷ 1000, clamped to -0.1..1.0.
struct OggFormat {
  int sampleRate = 44100;
  int channels = 2;
  int bitrateKbps = 128;
  int minKbps = 0;
  int maxKbps = 0;
  int16_t quality = -1;
};

// Ogg Vorbis through libvorbisenc and libogg.
class OggFileEncoder : public AudioEncoder {
 public:
  OggFileEncoder(const QString& fileName, const OggFormat& format);
  ~OggFileEncoder() override;

  int sampleRate() const override { return format_.sampleRate; }
  int channels() const override { return format_.channels; }
  void write(const float* interleaved, int frames) override;
  void finish() override;

  // True when libvorbisenc can set up that bitrate-managed encoding.
  static bool canEncodeManaged(int sampleRate, int channels, int bitrateKbps, int minKbps,
                               int maxKbps);

 private:
  void drain(bool flushPages);

  OutputFile file_;
  OggFormat format_;
  vorbis_info info_{};
  vorbis_comment comment_{};
  vorbis_dsp_state dsp_{};
  vorbis_block block_{};
  ogg_stream_state stream_{};
  bool started_ = false;
};

}  // namespace tarvex
