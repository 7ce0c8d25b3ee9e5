#include "sources/analysis/WaveformJob.h"

#include <QMetaObject>

#include "components/audio/AudioError.h"
#include "sources/analysis/ExactPeaks.h"
#include "sources/analysis/Mp3GainScan.h"

namespace tarvex {

void WaveformJob::start(const QString& path, int width) {
  stop();
  const int run = ++run_;
  WaveformPeaks cached;
  if (cache_.find(path, width, cached)) {
    emit updated(path, cached);
    return;
  }
  task_.start([this, run, path, width](const std::atomic<bool>& stopFlag) {
    const auto deliver = [this, run](std::function<void()> report) {
      QMetaObject::invokeMethod(
          this,
          [this, run, report = std::move(report)] {
            if (run == run_) report();
          },
          Qt::QueuedConnection);
    };
    const auto publish = [&](const WaveformPeaks& peaks) {
      deliver([this, path, peaks] {
        if (peaks.exact) cache_.store(path, peaks);
        emit updated(path, peaks);
      });
    };
    try {
      const WaveformPeaks quick = scanMp3Gains(path, width, stopFlag);
      if (!quick.empty()) publish(quick);
      const WaveformPeaks exact =
          exactPeaks(path, width, decoderThreads_, stopFlag, quick, publish);
      if (!exact.empty()) publish(exact);
    } catch (const AudioError& error) {
      const QString message = error.message();
      deliver([this, path, message] { emit failed(path, message); });
    }
  });
}

void WaveformJob::stop() {
  ++run_;
  task_.stopAndWait();
}

}  // namespace tarvex
