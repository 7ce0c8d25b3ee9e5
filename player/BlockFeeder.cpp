#include "player/BlockFeeder.h"

#include <algorithm>
#include <exception>

#include "components/audio/AudioError.h"
#include "components/audio/DecoderOpening.h"
#include "components/audio/ErrorText.h"
#include "platform/Error.h"

namespace tarvex {

namespace {

// Frames decoded per block: a tenth of a second at 44.1 kHz.
constexpr int64_t kBlockFrames = 4410;

}  // namespace

BlockFeeder::BlockFeeder(FeedRequest request, int64_t aheadFrames, std::function<void()> wake)
    : request_(std::move(request)),
      aheadFrames_(std::max<int64_t>(aheadFrames, kBlockFrames)),
      wake_(std::move(wake)) {
  thread_ = std::thread([this] { run(); });
}

BlockFeeder::~BlockFeeder() {
  cancel();
  thread_.join();
}

void BlockFeeder::cancel() {
  {
    const std::lock_guard lock(mutex_);
    cancelled_ = true;
  }
  changed_.notify_all();
}

bool BlockFeeder::idle() const {
  const std::lock_guard lock(mutex_);
  return done_;
}

void BlockFeeder::seek(int64_t frame) {
  {
    const std::lock_guard lock(mutex_);
    seekTo_ =
        std::clamp(frame, request_.span.first, std::max(request_.span.first, request_.span.end));
    ready_.clear();
    readyFrames_ = 0;
    decodedToEnd_ = false;
  }
  changed_.notify_all();
}

std::optional<SampleBlock> BlockFeeder::takeBlock() {
  std::optional<SampleBlock> block;
  {
    const std::lock_guard lock(mutex_);
    woken_ = false;
    if (ready_.empty()) return block;
    block = std::move(ready_.front());
    ready_.pop_front();
    readyFrames_ -= static_cast<int64_t>(block->values.size()) / std::max(1, request_.channels);
  }
  changed_.notify_all();
  return block;
}

bool BlockFeeder::finished() const {
  const std::lock_guard lock(mutex_);
  return decodedToEnd_ && ready_.empty() && !seekTo_;
}

std::optional<QString> BlockFeeder::failure() const {
  const std::lock_guard lock(mutex_);
  return failure_;
}

void BlockFeeder::notify() {
  // Called with the mutex held.
  if (woken_) return;
  woken_ = true;
  wake_();
}

void BlockFeeder::run() {
  try {
    decode();
  } catch (const std::exception& error) {
    const std::lock_guard lock(mutex_);
    failure_ = userMessage(error);
    woken_ = false;
    notify();
  }
  const std::lock_guard lock(mutex_);
  done_ = true;
}

void BlockFeeder::decode() {
  const std::unique_ptr<AudioDecoder> decoder = openDecoder(request_.path, request_.knownFrames);
  // The blocks go to a player set to the probed format.
  if (decoder->sampleRate() != request_.sampleRate || decoder->channels() != request_.channels) {
    throw AudioError(
        openError(request_.path, QStringLiteral("the file has changed since it was added")));
  }
  const int channels = request_.channels;
  int64_t next = std::clamp(request_.from, request_.span.first, request_.span.end);
  decoder->seek(next);
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [&] {
      return cancelled_ || seekTo_ || (!decodedToEnd_ && readyFrames_ < aheadFrames_);
    });
    if (cancelled_) return;
    if (seekTo_) {
      next = *seekTo_;
      seekTo_.reset();
      lock.unlock();
      decoder->seek(next);
      lock.lock();
      continue;
    }
    const int frames = static_cast<int>(std::min(kBlockFrames, request_.span.end - next));
    lock.unlock();
    SampleBlock block;
    block.values.resize(static_cast<size_t>(std::max(frames, 0)) * channels);
    const int got = frames > 0 ? decoder->read(block.values.data(), frames) : 0;
    block.values.resize(static_cast<size_t>(got) * channels);
    lock.lock();
    // A seek asked for meanwhile makes the block stale.
    if (cancelled_ || seekTo_) continue;
    if (got > 0) {
      next += got;
      readyFrames_ += got;
      ready_.push_back(std::move(block));
    }
    // The span's end, or the data ended before it (the file shrank).
    if (got < frames || next >= request_.span.end) decodedToEnd_ = true;
    notify();
  }
}

}  // namespace tarvex
