#include "components/output/device/SinkAudioOutput.h"

#include <QAudioSink>
#include <QIODevice>
#include <algorithm>
#include <cmath>

#include "components/audio/AudioError.h"

namespace tarvex {

namespace {

// The device holds about this much sound ahead of what is heard.
constexpr int kBufferMilliseconds = 200;

}  // namespace

SinkAudioOutput::SinkAudioOutput(QAudioDevice device) : device_(std::move(device)) {}

SinkAudioOutput::~SinkAudioOutput() {
  stop();
}

void SinkAudioOutput::start(int sampleRate, int channels) {
  stop();
  QAudioFormat format;
  format.setSampleRate(sampleRate);
  format.setChannelCount(channels);
  format.setSampleFormat(QAudioFormat::Float);
  if (!device_.isFormatSupported(format)) format.setSampleFormat(QAudioFormat::Int16);
  if (!device_.isFormatSupported(format)) {
    throw AudioError(
        QStringLiteral("Cannot play on %1: the device does not take %2 Hz, %3 channels")
            .arg(device_.description())
            .arg(sampleRate)
            .arg(channels));
  }
  format_ = format;
  sink_ = std::make_unique<QAudioSink>(device_, format_);
  sink_->setBufferSize(format_.bytesForDuration(kBufferMilliseconds * 1000));
  stream_ = sink_->start();
  if (stream_ == nullptr || sink_->error() != QAudio::NoError) {
    sink_.reset();
    stream_ = nullptr;
    throw AudioError(QStringLiteral("Cannot play on %1: the device could not be opened")
                         .arg(device_.description()));
  }
}

void SinkAudioOutput::stop() {
  if (!sink_) return;
  sink_->stop();
  sink_.reset();
  stream_ = nullptr;
}

int64_t SinkAudioOutput::writableFrames() {
  if (!sink_ || stream_ == nullptr) return 0;
  return std::max<qsizetype>(0, sink_->bytesFree()) / format_.bytesPerFrame();
}

int64_t SinkAudioOutput::pendingFrames() {
  if (!sink_) return 0;
  const qsizetype held = sink_->bufferSize() - sink_->bytesFree();
  return std::max<qsizetype>(0, held) / format_.bytesPerFrame();
}

void SinkAudioOutput::write(const float* values, int64_t frames) {
  if (stream_ == nullptr || frames <= 0) return;
  const int64_t count = frames * format_.channelCount();
  if (format_.sampleFormat() == QAudioFormat::Float) {
    stream_->write(reinterpret_cast<const char*>(values),
                   count * static_cast<int64_t>(sizeof(float)));
    return;
  }
  converted_.resize(static_cast<size_t>(count));
  for (int64_t i = 0; i < count; ++i) {
    const float clipped = std::clamp(values[i], -1.0f, 1.0f);
    converted_[static_cast<size_t>(i)] = static_cast<qint16>(std::lround(clipped * 32767.0f));
  }
  stream_->write(reinterpret_cast<const char*>(converted_.data()),
                 count * static_cast<int64_t>(sizeof(qint16)));
}

}  // namespace tarvex
