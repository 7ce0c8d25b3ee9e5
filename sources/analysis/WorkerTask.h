#pragma once

#include <atomic>
#include <functional>
#include <thread>

namespace tarvex {

// Runs one piece of work on a thread of its own with a stop flag the work
// checks. Starting again stops and waits for the run under way first; the
// destructor does the same, so no run outlives its owner.
class WorkerTask {
 public:
  WorkerTask() = default;
  ~WorkerTask() { stopAndWait(); }
  WorkerTask(const WorkerTask&) = delete;
  WorkerTask& operator=(const WorkerTask&) = delete;

  void start(std::function<void(const std::atomic<bool>& stop)> work) {
    stopAndWait();
    stop_ = false;
    thread_ = std::thread([this, work = std::move(work)] { work(stop_); });
  }
  void requestStop() { stop_ = true; }
  void stopAndWait() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }

 private:
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace tarvex
