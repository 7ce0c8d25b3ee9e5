#pragma once

#include "components/audio/AudioEncoder.h"
#include "components/audio/OutputFile.h"

#include <lame/lame.h>

#include <vector>

namespace tarvex {

class Mp3LameEncoder;

// MP3 through libmp3lame. LAME resamples to the output rate itself; a mono
// input meant for a two-channel mode is fed as two equal channels. With the
// VBR header on, the Xing/LAME header frame is filled in at finish(), so a
// gapless decoder gives back exactly the frames written; where LAME leaves
// its header frame out (too small at low MPEG-2/2.5 bitrates), a header frame
// of ours, at a bitrate large enough, stands in for it. No ID3 tag.
class Mp3FileEncoder : public AudioEncoder {
 public:
  Mp3FileEncoder(const QString& fileName, const Mp3LameEncoder& settings, int inputRate,
                 int inputChannels);
  ~Mp3FileEncoder() override;

  int sampleRate() const override { return inputRate_; }
  int channels() const override { return inputChannels_; }
  void write(const float* interleaved, int frames) override;
  void finish() override;

 private:
  void writeEncoded(int bytes);
  void writeOwnHeaderFrame(size_t lameHeaderBytes);
  void prependOwnHeaderFrame();

  OutputFile file_;
  lame_t lame_ = nullptr;
  int inputRate_;
  int inputChannels_;
  bool duplicateMono_ = false;
  bool headerFrame_ = false;
  size_t ownHeaderBytes_ = 0;  // the room kept for our header frame
  unsigned char firstFrameHeader_[4] = {};
  uint64_t audioBytes_ = 0;
  uint16_t musicCrc_ = 0;
  std::vector<unsigned char> encoded_;
};

}  // namespace tarvex
