#include "sources/analysis/SilenceSearch.h"

#include <QMetaObject>

#include "components/audio/AudioError.h"

namespace tarvex {

void SilenceSearch::start(const QString& path, const SilenceSettings& settings) {
  stop();
  const int run = ++run_;
  running_ = true;
  task_.start([this, run, path, settings](const std::atomic<bool>& stopFlag) {
    const auto deliver = [this, run](std::function<void()> report) {
      QMetaObject::invokeMethod(
          this,
          [this, run, report = std::move(report)] {
            if (run != run_) return;
            report();
          },
          Qt::QueuedConnection);
    };
    try {
      bool stopped = false;
      const SilenceResult result = findSoundRanges(
          path, settings, stopFlag, &stopped,
          [&deliver, this](int percent) { deliver([this, percent] { emit progress(percent); }); });
      if (stopped) return;
      deliver([this, path, result] {
        running_ = false;
        emit finished(path, result);
      });
    } catch (const AudioError& error) {
      const QString message = error.message();
      deliver([this, path, message] {
        running_ = false;
        emit failed(path, message);
      });
    }
  });
}

void SilenceSearch::stop() {
  ++run_;
  task_.stopAndWait();
  running_ = false;
}

}  // namespace tarvex
