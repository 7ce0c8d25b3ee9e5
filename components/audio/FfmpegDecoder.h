#pragma once

#include "components/audio/AudioDecoder.h"

#include <QString>

struct AVFormatContext;
struct AVCodecContext;
struct AVFrame;
struct AVPacket;

namespace tarvex {

// Every format without a decoder of its own (WAV, WMA, FLAC, Ogg of other
// codecs, files the specialised decoders refuse, ...) through libavformat
// and libavcodec. The length is exact: for PCM it comes from the data that is
// really in the file (a header that claims more is not believed); for
// compressed formats a full decode pass counts the frames when the file is
// opened. Seeking is exact to the frame: PCM seeks directly, compressed
// formats decode forward from where they are (or from the start when the
// target lies behind) and drop the frames before the target.
class FfmpegDecoder : public AudioDecoder {
 public:
  // `knownFrames` (above 0): the length measured before, so a compressed
  // file is not decoded from end to end to count its frames again.
  explicit FfmpegDecoder(const QString& fileName, int64_t knownFrames = 0);
  ~FfmpegDecoder() override;
  FfmpegDecoder(const FfmpegDecoder&) = delete;
  FfmpegDecoder& operator=(const FfmpegDecoder&) = delete;

  int64_t frameCount() const override { return frameCount_; }
  int sampleRate() const override { return sampleRate_; }
  int channels() const override { return channels_; }
  void seek(int64_t frame) override;
  int read(float* out, int frames) override;

 private:
  void openContainer();
  void closeContainer();
  bool decodeNextFrame();  // false at the end of the data
  int64_t framePosition(const AVFrame* frame) const;
  void skipTo(int64_t frame);
  int64_t countFramesByDecoding();
  int64_t countPcmFrames();
  [[noreturn]] void failOpen(const QString& reason) const;

  QString fileName_;
  AVFormatContext* format_ = nullptr;
  AVCodecContext* codec_ = nullptr;
  AVFrame* frame_ = nullptr;
  AVPacket* packet_ = nullptr;
  int streamIndex_ = -1;
  int sampleRate_ = 0;
  int channels_ = 0;
  bool isPcm_ = false;
  int64_t frameCount_ = 0;
  int64_t dataStart_ = -1;      // byte offset of the audio data
  int64_t startTimestamp_ = 0;  // stream timestamp of frame 0
  int64_t position_ = 0;        // frame of the next value read() hands out
  int frameOffset_ = 0;         // frames of frame_ already handed out
  int frameAvailable_ = 0;      // frames in frame_
  bool draining_ = false;
  bool ended_ = false;
};

}  // namespace tarvex
