#pragma once

#include <QString>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "components/audio/SampleBlock.h"
#include "sources/SampleSpan.h"

namespace tarvex {

// What a feeder decodes: `span` of the file at `path`, from frame `from` on,
// opened with the length the probe measured (`knownFrames`). The file must
// still have the format the probe found (`sampleRate`, `channels`).
struct FeedRequest {
  QString path;
  int64_t knownFrames = 0;
  int sampleRate = 0;
  int channels = 0;
  SampleSpan span;
  int64_t from = 0;
};

// Decodes one span of a source on a thread of its own and keeps up to
// `aheadFrames` decoded frames ready for the playing thread to take. It opens
// the file on that thread too, so neither the opening nor the decoding ever
// holds up the caller. After each block it calls `wake` (from its own thread;
// the caller posts it to the playing thread); a wake is not repeated until
// take() was called. The blocks end exactly at the span's end.
class BlockFeeder {
 public:
  BlockFeeder(FeedRequest request, int64_t aheadFrames, std::function<void()> wake);
  // Ends the thread and waits for it; a block being decoded is finished first.
  ~BlockFeeder();
  BlockFeeder(const BlockFeeder&) = delete;
  BlockFeeder& operator=(const BlockFeeder&) = delete;

  // Blocks from now on start at source frame `frame` (kept within the span);
  // what was ready is dropped.
  void seek(int64_t frame);
  // Asks the thread to end without waiting for it.
  void cancel();
  // True once the thread has nothing left to do (ended, failed or cancelled).
  bool idle() const;

  // The next ready block, if any.
  std::optional<SampleBlock> takeBlock();
  // True when every block up to the span's end (or the data's end) was taken.
  bool finished() const;
  // The failure that ended the decoding (opening or reading), if any.
  std::optional<QString> failure() const;

 private:
  void run();
  void decode();
  void notify();

  const FeedRequest request_;
  const int64_t aheadFrames_;
  const std::function<void()> wake_;

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<SampleBlock> ready_;
  int64_t readyFrames_ = 0;
  bool decodedToEnd_ = false;
  bool cancelled_ = false;
  bool done_ = false;
  bool woken_ = false;
  std::optional<int64_t> seekTo_;
  std::optional<QString> failure_;
  std::thread thread_;
};

}  // namespace tarvex
