#pragma once

#include <QObject>
#include <QString>

#include "sources/analysis/WaveformCache.h"
#include "sources/analysis/WaveformPeaks.h"
#include "sources/analysis/WorkerTask.h"

namespace tarvex {

// Builds one file's waveform on a worker thread: for MP3 first the estimate
// read without decoding, then the exact picture growing as the decoders go,
// every stage delivered through `updated` on the object's own thread. A
// finished picture goes into the cache, and a cached one is delivered at once.
class WaveformJob : public QObject {
  Q_OBJECT
 public:
  WaveformJob(WaveformCache& cache, int decoderThreads, QObject* parent = nullptr)
      : QObject(parent), cache_(cache), decoderThreads_(decoderThreads) {}
  ~WaveformJob() override { stop(); }

  void start(const QString& path, int width);
  void stop();

 signals:
  void updated(const QString& path, const tarvex::WaveformPeaks& peaks);
  void failed(const QString& path, const QString& message);

 private:
  WaveformCache& cache_;
  int decoderThreads_;
  WorkerTask task_;
  int run_ = 0;
};

}  // namespace tarvex
