#pragma once

#include "components/audio/AudioEncoder.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace tarvex {

// Runs another encoder on a thread of its own: write() copies the frames into
// one of a few reused buffers and returns, so decoding the next block
// overlaps encoding this one. An error of the encoder is kept and thrown to
// the caller at the next write() or at finish().
class BackgroundEncoder : public AudioEncoder {
 public:
  explicit BackgroundEncoder(std::unique_ptr<AudioEncoder> encoder);
  ~BackgroundEncoder() override;

  int sampleRate() const override { return sampleRate_; }
  int channels() const override { return channels_; }
  void write(const float* interleaved, int frames) override;
  void finish() override;

 private:
  void work();
  void stopWorker();
  void rethrowPending();

  std::unique_ptr<AudioEncoder> encoder_;
  int sampleRate_;
  int channels_;

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::vector<float>> queued_;  // filled, waiting for the encoder
  std::vector<std::vector<float>> spare_;  // emptied, ready for reuse
  bool stopping_ = false;
  bool busy_ = false;
  std::exception_ptr error_;
  std::thread worker_;
};

}  // namespace tarvex
