#pragma once

#include "components/audio/AudioEncoder.h"
#include "components/audio/WmaProfiles.h"

#include <QString>

#include <cstdint>
#include <vector>

struct AVFormatContext;
struct AVCodecContext;
struct AVFrame;
struct AVPacket;

namespace tarvex {

// WMA (Windows Media Audio 2) in an ASF file through libavcodec/libavformat.
class WmaFileEncoder : public AudioEncoder {
 public:
  WmaFileEncoder(const QString& fileName, const WmaProfile& profile);
  ~WmaFileEncoder() override;

  int sampleRate() const override { return profile_.sampleRate; }
  int channels() const override { return profile_.channels; }
  void write(const float* interleaved, int frames) override;
  void finish() override;

 private:
  void encodePending(int frames);
  void sendFrame(AVFrame* frame);
  [[noreturn]] void failWrite(int errorCode) const;

  QString fileName_;
  WmaProfile profile_;
  AVFormatContext* format_ = nullptr;
  AVCodecContext* codec_ = nullptr;
  AVFrame* frame_ = nullptr;
  AVPacket* packet_ = nullptr;
  int frameSize_ = 0;
  bool smallLastFrame_ = false;
  std::vector<float> pending_;  // interleaved frames not yet a whole codec frame
  int pendingFrames_ = 0;
  int64_t nextPts_ = 0;
  bool headerWritten_ = false;
};

}  // namespace tarvex
