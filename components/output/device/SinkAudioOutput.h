#pragma once

#include <QAudioDevice>
#include <QAudioFormat>
#include <memory>
#include <vector>

#include "components/output/AudioOutput.h"

class QAudioSink;
class QIODevice;

namespace tarvex {

// The sound device through Qt Multimedia's QAudioSink, fed in push mode from
// the user-interface thread. Takes 32-bit float frames; converts them to
// 16-bit when the device does not take float.
class SinkAudioOutput : public AudioOutput {
 public:
  explicit SinkAudioOutput(QAudioDevice device);
  ~SinkAudioOutput() override;

  void start(int sampleRate, int channels) override;
  void stop() override;
  int64_t writableFrames() override;
  void write(const float* values, int64_t frames) override;
  int64_t pendingFrames() override;
  double speed() const override { return 1.0; }
  bool audible() const override { return true; }

 private:
  QAudioDevice device_;
  QAudioFormat format_;
  std::unique_ptr<QAudioSink> sink_;
  QIODevice* stream_ = nullptr;  // owned by the sink
  std::vector<qint16> converted_;
};

}  // namespace tarvex
