#pragma once

#include <QObject>
#include <QString>

#include "sources/analysis/SilenceDetection.h"
#include "sources/analysis/WorkerTask.h"

namespace tarvex {

// Finds the sounding ranges of one file on a worker thread. The signals reach
// the object's own thread (queued); after stop() none of the stopped run's
// results arrive.
class SilenceSearch : public QObject {
  Q_OBJECT
 public:
  explicit SilenceSearch(QObject* parent = nullptr) : QObject(parent) {}
  ~SilenceSearch() override { stop(); }

  void start(const QString& path, const SilenceSettings& settings);
  void stop();
  bool isRunning() const { return running_; }

 signals:
  void progress(int percent);
  void finished(const QString& path, const tarvex::SilenceResult& result);
  void failed(const QString& path, const QString& message);

 private:
  WorkerTask task_;
  int run_ = 0;  // results of an older run are dropped
  bool running_ = false;
};

}  // namespace tarvex
