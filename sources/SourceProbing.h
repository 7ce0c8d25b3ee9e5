#pragma once

#include <QObject>
#include <QStringList>
#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "sources/SourceProbe.h"

namespace tarvex {

// Probes a list of files on worker threads, several side by side, and hands
// the results to `deliver` on the thread that owns this object, one by one in
// list order, then calls `finished`. The owner's thread never waits.
class SourceProbing : public QObject {
  Q_OBJECT
 public:
  using Deliver = std::function<void(const ProbeResult&)>;

  SourceProbing(QStringList paths, bool fromFolder, Deliver deliver, std::function<void()> finished,
                QObject* parent = nullptr);
  // Files not yet begun are left; the ones under way are waited for.
  ~SourceProbing() override;

  void start();
  bool done() const { return delivered_ == paths_.size(); }

 private:
  void work();
  void deliverReady();

  const QStringList paths_;
  const bool fromFolder_;
  Deliver deliver_;
  std::function<void()> finished_;
  std::vector<std::jthread> workers_;
  std::atomic<qsizetype> nextToProbe_{0};
  std::atomic<bool> stopping_{false};
  std::mutex resultsMutex_;
  std::vector<std::optional<ProbeResult>> results_;
  qsizetype delivered_ = 0;
  bool delivering_ = false;
};

}  // namespace tarvex
