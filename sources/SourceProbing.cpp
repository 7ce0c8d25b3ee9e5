#include "sources/SourceProbing.h"

#include <algorithm>

namespace tarvex {

SourceProbing::SourceProbing(QStringList paths, bool fromFolder, Deliver deliver,
                             std::function<void()> finished, QObject* parent)
    : QObject(parent),
      paths_(std::move(paths)),
      fromFolder_(fromFolder),
      deliver_(std::move(deliver)),
      finished_(std::move(finished)),
      results_(static_cast<size_t>(paths_.size())) {}

SourceProbing::~SourceProbing() {
  stopping_ = true;
  workers_.clear();  // joins
}

void SourceProbing::start() {
  if (paths_.isEmpty()) {
    QMetaObject::invokeMethod(
        this, [this] { deliverReady(); }, Qt::QueuedConnection);
    return;
  }
  const auto cores = static_cast<qsizetype>(std::max(1u, std::thread::hardware_concurrency()));
  const qsizetype count = std::min(cores, paths_.size());
  for (qsizetype worker = 0; worker < count; ++worker) workers_.emplace_back([this] { work(); });
}

void SourceProbing::work() {
  while (!stopping_) {
    const qsizetype index = nextToProbe_++;
    if (index >= paths_.size()) return;
    ProbeResult result = probeSource(paths_.at(index), fromFolder_);
    {
      const std::lock_guard lock(resultsMutex_);
      results_[static_cast<size_t>(index)] = std::move(result);
    }
    QMetaObject::invokeMethod(
        this, [this] { deliverReady(); }, Qt::QueuedConnection);
  }
}

void SourceProbing::deliverReady() {
  // A message box shown while delivering may run this again; the outer call
  // keeps the order and picks up what arrived meanwhile.
  if (delivering_) return;
  delivering_ = true;
  while (delivered_ < paths_.size()) {
    std::optional<ProbeResult> next;
    {
      const std::lock_guard lock(resultsMutex_);
      auto& slot = results_[static_cast<size_t>(delivered_)];
      if (!slot) break;
      next = std::move(slot);
      slot.reset();
    }
    ++delivered_;
    deliver_(*next);
  }
  delivering_ = false;
  if (delivered_ == paths_.size() && finished_) {
    auto finished = std::move(finished_);
    finished_ = nullptr;
    finished();
  }
}

}  // namespace tarvex
