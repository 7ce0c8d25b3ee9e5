#include "components/audio/BackgroundEncoder.h"

namespace tarvex {

namespace {
// Blocks that may wait for the encoder: enough to ride out an uneven pace,
// few enough to bound the memory held.
constexpr size_t kMaxQueued = 4;
}  // namespace

BackgroundEncoder::BackgroundEncoder(std::unique_ptr<AudioEncoder> encoder)
    : encoder_(std::move(encoder)),
      sampleRate_(encoder_->sampleRate()),
      channels_(encoder_->channels()),
      worker_([this] { work(); }) {}

BackgroundEncoder::~BackgroundEncoder() {
  stopWorker();
}

void BackgroundEncoder::stopWorker() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  if (worker_.joinable()) worker_.join();
}

void BackgroundEncoder::rethrowPending() {
  if (error_) {
    std::exception_ptr error = error_;
    error_ = nullptr;
    std::rethrow_exception(error);
  }
}

void BackgroundEncoder::work() {
  std::unique_lock lock(mutex_);
  while (true) {
    changed_.wait(lock, [this] { return stopping_ || !queued_.empty(); });
    if (queued_.empty()) return;  // stopping, all done
    std::vector<float> buffer = std::move(queued_.front());
    queued_.pop_front();
    busy_ = true;
    const bool failed = error_ != nullptr;
    lock.unlock();
    // The error is handed over only after its catch block has ended, so the
    // thread that rethrows it never shares the exception with a handler
    // still running here.
    std::exception_ptr caught;
    if (!failed) {
      try {
        encoder_->write(buffer.data(),
                        static_cast<int>(buffer.size() / static_cast<size_t>(channels_)));
      } catch (...) {
        caught = std::current_exception();
      }
    }
    lock.lock();
    if (caught) error_ = std::move(caught);
    busy_ = false;
    spare_.push_back(std::move(buffer));
    changed_.notify_all();
  }
}

void BackgroundEncoder::write(const float* interleaved, int frames) {
  std::unique_lock lock(mutex_);
  rethrowPending();
  changed_.wait(lock, [this] { return queued_.size() < kMaxQueued || error_ != nullptr; });
  rethrowPending();
  std::vector<float> buffer;
  if (!spare_.empty()) {
    buffer = std::move(spare_.back());
    spare_.pop_back();
  }
  lock.unlock();
  buffer.assign(interleaved, interleaved + static_cast<size_t>(frames) * channels_);
  lock.lock();
  queued_.push_back(std::move(buffer));
  changed_.notify_all();
}

void BackgroundEncoder::finish() {
  {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return queued_.empty() && !busy_; });
  }
  stopWorker();
  rethrowPending();
  encoder_->finish();
}

}  // namespace tarvex
