#include "components/audio/WmaFileEncoder.h"

#include "components/audio/AudioError.h"
#include "components/audio/ErrorText.h"
#include "components/audio/FfmpegLog.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
}

namespace tarvex {

WmaFileEncoder::WmaFileEncoder(const QString& fileName, const WmaProfile& profile)
    : fileName_(fileName), profile_(profile) {
  if (QFileInfo(fileName).isDir())
    throw AudioError(createError(fileName, QStringLiteral("it is a folder")));
  routeFfmpegLog();
  const QByteArray path = QFile::encodeName(fileName);
  auto fail = [&](const QString& reason) { throw AudioError(createError(fileName, reason)); };
  const AVCodec* encoder = avcodec_find_encoder(AV_CODEC_ID_WMAV2);
  if (encoder == nullptr) fail(QStringLiteral("no WMA encoder is available"));
  int result = avformat_alloc_output_context2(&format_, nullptr, "asf", path.constData());
  if (result < 0 || format_ == nullptr) fail(ffmpegReason(result));
  AVStream* stream = avformat_new_stream(format_, nullptr);
  codec_ = avcodec_alloc_context3(encoder);
  frame_ = av_frame_alloc();
  packet_ = av_packet_alloc();
  if (stream == nullptr || codec_ == nullptr || frame_ == nullptr || packet_ == nullptr)
    fail(QStringLiteral("out of memory"));
  codec_->sample_fmt = AV_SAMPLE_FMT_FLTP;
  codec_->sample_rate = profile.sampleRate;
  av_channel_layout_default(&codec_->ch_layout, profile.channels);
  codec_->bit_rate = static_cast<int64_t>(profile.bitrateKbps) * 1000;
  codec_->time_base = AVRational{1, profile.sampleRate};
  if (format_->oformat->flags & AVFMT_GLOBALHEADER) codec_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  result = avcodec_open2(codec_, encoder, nullptr);
  if (result < 0)
    fail(QStringLiteral("the WMA encoder cannot take %1 Hz, %2 channels, %3 kbit/s")
             .arg(profile.sampleRate)
             .arg(profile.channels)
             .arg(profile.bitrateKbps));
  avcodec_parameters_from_context(stream->codecpar, codec_);
  stream->time_base = codec_->time_base;
  frameSize_ = codec_->frame_size > 0 ? codec_->frame_size : 2048;
  smallLastFrame_ = (encoder->capabilities & AV_CODEC_CAP_SMALL_LAST_FRAME) != 0;
  pending_.resize(static_cast<size_t>(frameSize_) * profile.channels);

  result = avio_open(&format_->pb, path.constData(), AVIO_FLAG_WRITE);
  if (result < 0) fail(ffmpegReason(result));
  result = avformat_write_header(format_, nullptr);
  if (result < 0) fail(ffmpegReason(result));
  headerWritten_ = true;
}

WmaFileEncoder::~WmaFileEncoder() {
  if (format_ != nullptr && format_->pb != nullptr) avio_closep(&format_->pb);
  avformat_free_context(format_);
  avcodec_free_context(&codec_);
  av_frame_free(&frame_);
  av_packet_free(&packet_);
}

void WmaFileEncoder::failWrite(int errorCode) const {
  throw AudioError(writeError(fileName_, ffmpegReason(errorCode)));
}

void WmaFileEncoder::sendFrame(AVFrame* frame) {
  int result = avcodec_send_frame(codec_, frame);
  if (result < 0) failWrite(result);
  while ((result = avcodec_receive_packet(codec_, packet_)) == 0) {
    packet_->stream_index = 0;
    av_packet_rescale_ts(packet_, codec_->time_base, format_->streams[0]->time_base);
    result = av_interleaved_write_frame(format_, packet_);
    if (result < 0) failWrite(result);
  }
  if (result != AVERROR(EAGAIN) && result != AVERROR_EOF) failWrite(result);
  if (format_->pb != nullptr && format_->pb->error < 0) failWrite(format_->pb->error);
}

void WmaFileEncoder::encodePending(int frames) {
  av_frame_unref(frame_);
  frame_->format = AV_SAMPLE_FMT_FLTP;
  frame_->sample_rate = profile_.sampleRate;
  av_channel_layout_copy(&frame_->ch_layout, &codec_->ch_layout);
  frame_->nb_samples = frames;
  if (av_frame_get_buffer(frame_, 0) < 0) failWrite(AVERROR(ENOMEM));
  const int channelCount = profile_.channels;
  for (int c = 0; c < channelCount; ++c) {
    auto* plane = reinterpret_cast<float*>(frame_->extended_data[c]);
    for (int i = 0; i < frames; ++i) plane[i] = pending_[static_cast<size_t>(i) * channelCount + c];
  }
  frame_->pts = nextPts_;
  nextPts_ += frames;
  sendFrame(frame_);
  pendingFrames_ = 0;
}

void WmaFileEncoder::write(const float* interleaved, int frames) {
  const int channelCount = profile_.channels;
  while (frames > 0) {
    const int take = std::min(frames, frameSize_ - pendingFrames_);
    std::copy_n(interleaved, static_cast<size_t>(take) * channelCount,
                pending_.begin() + static_cast<ptrdiff_t>(pendingFrames_) * channelCount);
    pendingFrames_ += take;
    interleaved += static_cast<size_t>(take) * channelCount;
    frames -= take;
    if (pendingFrames_ == frameSize_) encodePending(frameSize_);
  }
}

void WmaFileEncoder::finish() {
  if (pendingFrames_ > 0) {
    if (smallLastFrame_) {
      encodePending(pendingFrames_);
    } else {
      std::fill(pending_.begin() + static_cast<ptrdiff_t>(pendingFrames_) * profile_.channels,
                pending_.end(), 0.0f);
      encodePending(frameSize_);
    }
  }
  sendFrame(nullptr);
  const int result = av_write_trailer(format_);
  if (result < 0) failWrite(result);
  const int closed = avio_closep(&format_->pb);
  if (closed < 0) failWrite(closed);
}

}  // namespace tarvex
