#include "components/audio/FfmpegDecoder.h"

#include "components/audio/AudioError.h"
#include "components/audio/ErrorText.h"
#include "components/audio/FfmpegLog.h"
#include "components/audio/PcmLimits.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/samplefmt.h>
}

namespace tarvex {

namespace {

bool isPcmCodec(AVCodecID id) {
  return id >= AV_CODEC_ID_FIRST_AUDIO && id < AV_CODEC_ID_ADPCM_IMA_QT;
}

float sampleAsFloat(const uint8_t* data, AVSampleFormat format, size_t index) {
  switch (format) {
    case AV_SAMPLE_FMT_U8:
    case AV_SAMPLE_FMT_U8P:
      return (static_cast<float>(data[index]) - 128.0f) / 128.0f;
    case AV_SAMPLE_FMT_S16:
    case AV_SAMPLE_FMT_S16P:
      return static_cast<float>(reinterpret_cast<const int16_t*>(data)[index]) / 32768.0f;
    case AV_SAMPLE_FMT_S32:
    case AV_SAMPLE_FMT_S32P:
      return static_cast<float>(reinterpret_cast<const int32_t*>(data)[index]) / 2147483648.0f;
    case AV_SAMPLE_FMT_S64:
    case AV_SAMPLE_FMT_S64P:
      return static_cast<float>(static_cast<double>(reinterpret_cast<const int64_t*>(data)[index]) /
                                9223372036854775808.0);
    case AV_SAMPLE_FMT_FLT:
    case AV_SAMPLE_FMT_FLTP:
      return reinterpret_cast<const float*>(data)[index];
    case AV_SAMPLE_FMT_DBL:
    case AV_SAMPLE_FMT_DBLP:
      return static_cast<float>(reinterpret_cast<const double*>(data)[index]);
    default:
      return 0.0f;
  }
}

// Copies `count` frames of `frame`, starting at frame `first`, into `out`
// as interleaved float.
void copyInterleaved(const AVFrame* frame, int channels, int first, int count, float* out) {
  const auto format = static_cast<AVSampleFormat>(frame->format);
  if (format == AV_SAMPLE_FMT_FLT) {
    const auto* source = reinterpret_cast<const float*>(frame->extended_data[0]);
    std::copy_n(source + static_cast<size_t>(first) * channels,
                static_cast<size_t>(count) * channels, out);
    return;
  }
  if (format == AV_SAMPLE_FMT_FLTP) {
    for (int c = 0; c < channels; ++c) {
      const auto* source = reinterpret_cast<const float*>(frame->extended_data[c]) + first;
      for (int i = 0; i < count; ++i) out[static_cast<size_t>(i) * channels + c] = source[i];
    }
    return;
  }
  const bool planar = av_sample_fmt_is_planar(format) != 0;
  for (int i = 0; i < count; ++i) {
    for (int c = 0; c < channels; ++c) {
      const size_t frameIndex = static_cast<size_t>(first + i);
      out[static_cast<size_t>(i) * channels + c] =
          planar ? sampleAsFloat(frame->extended_data[c], format, frameIndex)
                 : sampleAsFloat(frame->extended_data[0], format,
                                 frameIndex * static_cast<size_t>(channels) + c);
    }
  }
}

}  // namespace

FfmpegDecoder::FfmpegDecoder(const QString& fileName, int64_t knownFrames) : fileName_(fileName) {
  const QFileInfo info(fileName);
  if (!info.exists()) failOpen(QStringLiteral("file not found"));
  if (info.isDir()) failOpen(QStringLiteral("it is a folder"));
  if (info.size() == 0) failOpen(QStringLiteral("the file is empty"));
  routeFfmpegLog();
  frame_ = av_frame_alloc();
  packet_ = av_packet_alloc();
  try {
    openContainer();
    if (knownFrames > 0) {
      frameCount_ = knownFrames;
    } else {
      frameCount_ = isPcm_ ? countPcmFrames() : countFramesByDecoding();
      if (frameCount_ <= 0) failOpen(QStringLiteral("no audio in the file"));
      openContainer();  // back to frame 0
    }
  } catch (...) {
    closeContainer();
    av_frame_free(&frame_);
    av_packet_free(&packet_);
    throw;
  }
}

FfmpegDecoder::~FfmpegDecoder() {
  closeContainer();
  av_frame_free(&frame_);
  av_packet_free(&packet_);
}

void FfmpegDecoder::failOpen(const QString& reason) const {
  throw AudioError(openError(fileName_, reason));
}

void FfmpegDecoder::openContainer() {
  closeContainer();
  int result =
      avformat_open_input(&format_, QFile::encodeName(fileName_).constData(), nullptr, nullptr);
  if (result < 0) {
    format_ = nullptr;
    failOpen(ffmpegReason(result));
  }
  dataStart_ = avio_tell(format_->pb);
  result = avformat_find_stream_info(format_, nullptr);
  if (result < 0) failOpen(QStringLiteral("not an audio file"));
  const AVCodec* decoder = nullptr;
  streamIndex_ = av_find_best_stream(format_, AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
  if (streamIndex_ < 0 || decoder == nullptr) failOpen(QStringLiteral("not an audio file"));
  for (unsigned i = 0; i < format_->nb_streams; ++i)
    if (static_cast<int>(i) != streamIndex_) format_->streams[i]->discard = AVDISCARD_ALL;
  const AVStream* stream = format_->streams[streamIndex_];
  codec_ = avcodec_alloc_context3(decoder);
  if (codec_ == nullptr) failOpen(QStringLiteral("out of memory"));
  avcodec_parameters_to_context(codec_, stream->codecpar);
  codec_->pkt_timebase = stream->time_base;
  result = avcodec_open2(codec_, decoder, nullptr);
  if (result < 0) failOpen(QStringLiteral("unsupported audio format"));
  sampleRate_ = codec_->sample_rate;
  channels_ = codec_->ch_layout.nb_channels;
  if (sampleRate_ <= 0 || channels_ <= 0) failOpen(QStringLiteral("not an audio file"));
  if (!isPcmFormatSupported(sampleRate_, channels_))
    failOpen(QStringLiteral("unsupported sample format (%1 Hz, %2 channels)")
                 .arg(sampleRate_)
                 .arg(channels_));
  isPcm_ = isPcmCodec(codec_->codec_id);
  startTimestamp_ = stream->start_time == AV_NOPTS_VALUE ? 0 : stream->start_time;
  position_ = 0;
  frameOffset_ = 0;
  frameAvailable_ = 0;
  draining_ = false;
  ended_ = false;
}

void FfmpegDecoder::closeContainer() {
  avcodec_free_context(&codec_);
  if (format_ != nullptr) avformat_close_input(&format_);
}

bool FfmpegDecoder::decodeNextFrame() {
  while (true) {
    const int received = avcodec_receive_frame(codec_, frame_);
    if (received == 0) {
      // A stream whose layout or rate changes part-way ends at the change:
      // its frames would not fit the blocks of the format announced.
      if (frame_->ch_layout.nb_channels != channels_ || frame_->sample_rate != sampleRate_) {
        frameAvailable_ = frameOffset_ = 0;
        return false;
      }
      frameAvailable_ = frame_->nb_samples;
      frameOffset_ = 0;
      if (frameAvailable_ > 0) return true;
      continue;
    }
    if (received == AVERROR_EOF) return false;
    if (received != AVERROR(EAGAIN)) return false;
    if (draining_) return false;
    const int readResult = av_read_frame(format_, packet_);
    if (readResult < 0) {
      // End of file, or a read error on a damaged file: what was decoded stays.
      draining_ = true;
      avcodec_send_packet(codec_, nullptr);
      continue;
    }
    if (packet_->stream_index == streamIndex_) {
      // A packet the decoder rejects is damaged data: skip it.
      avcodec_send_packet(codec_, packet_);
    }
    av_packet_unref(packet_);
  }
}

int64_t FfmpegDecoder::framePosition(const AVFrame* frame) const {
  const int64_t timestamp = frame->best_effort_timestamp;
  if (timestamp == AV_NOPTS_VALUE) return -1;
  return av_rescale_q(timestamp - startTimestamp_, format_->streams[streamIndex_]->time_base,
                      AVRational{1, sampleRate_});
}

int64_t FfmpegDecoder::countPcmFrames() {
  const AVStream* stream = format_->streams[streamIndex_];
  const int blockAlign = stream->codecpar->block_align;
  const int64_t fileSize = avio_size(format_->pb);
  if (blockAlign <= 0 || fileSize <= 0 || dataStart_ < 0) return countFramesByDecoding();
  // The frames really present in the file, whatever its header claims.
  int64_t frames = std::max<int64_t>(0, fileSize - dataStart_) / blockAlign;
  if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0) {
    const int64_t declared =
        av_rescale_q(stream->duration, stream->time_base, AVRational{1, sampleRate_});
    frames = std::min(frames, declared);
  }
  return frames;
}

int64_t FfmpegDecoder::countFramesByDecoding() {
  int64_t frames = 0;
  while (decodeNextFrame()) frames += frameAvailable_;
  return frames;
}

void FfmpegDecoder::skipTo(int64_t frame) {
  while (position_ < frame) {
    if (frameOffset_ >= frameAvailable_ && !decodeNextFrame()) {
      ended_ = true;
      return;
    }
    const int64_t skip = std::min<int64_t>(frameAvailable_ - frameOffset_, frame - position_);
    frameOffset_ += static_cast<int>(skip);
    position_ += skip;
  }
}

void FfmpegDecoder::seek(int64_t frame) {
  frame = std::clamp<int64_t>(frame, 0, frameCount_);
  if (frame == position_ && !ended_) return;
  if (isPcm_) {
    const AVStream* stream = format_->streams[streamIndex_];
    const int64_t timestamp =
        startTimestamp_ + av_rescale_q(frame, AVRational{1, sampleRate_}, stream->time_base);
    if (av_seek_frame(format_, streamIndex_, timestamp, AVSEEK_FLAG_BACKWARD) >= 0) {
      avcodec_flush_buffers(codec_);
      draining_ = false;
      ended_ = false;
      frameOffset_ = frameAvailable_ = 0;
      if (!decodeNextFrame()) {
        ended_ = true;
        position_ = frame;
        return;
      }
      const int64_t first = framePosition(frame_);
      if (first >= 0 && first <= frame) {
        position_ = first;
        skipTo(frame);
        return;
      }
    }
  }
  if (frame < position_ || ended_) openContainer();
  skipTo(frame);
}

int FfmpegDecoder::read(float* out, int frames) {
  int delivered = 0;
  while (delivered < frames && !ended_) {
    if (frameOffset_ >= frameAvailable_ && !decodeNextFrame()) {
      ended_ = true;
      break;
    }
    const int count = std::min(frames - delivered, frameAvailable_ - frameOffset_);
    copyInterleaved(frame_, channels_, frameOffset_, count,
                    out + static_cast<size_t>(delivered) * channels_);
    frameOffset_ += count;
    delivered += count;
  }
  position_ += delivered;
  return delivered;
}

}  // namespace tarvex
