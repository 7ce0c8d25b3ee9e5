#include "sources/analysis/ExactPeaks.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <limits>
#include <memory>
#include <thread>

#include "components/audio/AudioFile2.h"

namespace tarvex {

namespace {
constexpr int kBlockFrames = 1 << 15;
constexpr auto kProgressInterval = std::chrono::milliseconds(100);

// The lowest and highest of `count` values, widening `low` and `high`. Four
// running pairs side by side, so each step need not wait for the one before.
void widenToExtremes(const float* values, size_t count, float& low, float& high) {
  size_t i = 0;
  if (count >= 4) {
    float low0 = values[0], low1 = values[1], low2 = values[2], low3 = values[3];
    float high0 = low0, high1 = low1, high2 = low2, high3 = low3;
    for (i = 4; i + 4 <= count; i += 4) {
      low0 = std::min(low0, values[i]);
      high0 = std::max(high0, values[i]);
      low1 = std::min(low1, values[i + 1]);
      high1 = std::max(high1, values[i + 1]);
      low2 = std::min(low2, values[i + 2]);
      high2 = std::max(high2, values[i + 2]);
      low3 = std::min(low3, values[i + 3]);
      high3 = std::max(high3, values[i + 3]);
    }
    low = std::min({low, low0, low1, low2, low3});
    high = std::max({high, high0, high1, high2, high3});
  }
  for (; i < count; ++i) {
    low = std::min(low, values[i]);
    high = std::max(high, values[i]);
  }
}

}  // namespace

PeakAccumulator::PeakAccumulator(WaveformPeaks& peaks, int64_t totalFrames, int channels,
                                 int64_t firstFrame)
    : peaks_(peaks),
      totalFrames_(std::max<int64_t>(1, totalFrames)),
      channels_(std::max(1, channels)),
      position_(firstFrame) {
  completed_.store(peakColumn(firstFrame, totalFrames_, peaks_.width()), std::memory_order_release);
}

void PeakAccumulator::add(const float* values, int64_t frames) {
  const int width = peaks_.width();
  int64_t done = 0;
  while (done < frames) {
    const int column = peakColumn(position_, totalFrames_, width);
    const int64_t columnEnd = column + 1 >= width
                                  ? std::numeric_limits<int64_t>::max()
                                  : peakColumnStart(column + 1, totalFrames_, width);
    const int64_t count = std::min(frames - done, columnEnd - position_);
    float low = std::numeric_limits<float>::max();
    float high = std::numeric_limits<float>::lowest();
    widenToExtremes(values + done * channels_, static_cast<size_t>(count * channels_), low, high);
    auto& columnLow = peaks_.low[static_cast<size_t>(column)];
    auto& columnHigh = peaks_.high[static_cast<size_t>(column)];
    // A column's first samples replace what an estimate had put there.
    if (position_ == peakColumnStart(column, totalFrames_, width)) {
      columnLow = low;
      columnHigh = high;
    } else {
      columnLow = std::min(columnLow, low);
      columnHigh = std::max(columnHigh, high);
    }
    position_ += count;
    done += count;
    if (position_ == columnEnd) completed_.store(column + 1, std::memory_order_release);
  }
}

void PeakAccumulator::finish() {
  const int column = peakColumn(std::max<int64_t>(0, position_ - 1), totalFrames_, peaks_.width());
  completed_.store(std::max(completedColumns(), column + 1), std::memory_order_release);
}

WaveformPeaks exactPeaks(const QString& path, int width, int threads, const std::atomic<bool>& stop,
                         const WaveformPeaks& start,
                         const std::function<void(const WaveformPeaks&)>& onProgress) {
  if (width <= 0) return {};
  // The first reader measures the file; the others open it in their threads.
  auto first = std::make_unique<AudioFile2>();
  first->OpenRead(path);
  const int64_t total = std::max<int64_t>(1, first->Samples());
  const int channels = first->Channels();
  threads = std::clamp(threads, 1, std::max(1, width));

  WaveformPeaks peaks = start.width() == width ? start : WaveformPeaks{};
  if (peaks.width() != width) {
    peaks.low.assign(static_cast<size_t>(width), 0.0f);
    peaks.high.assign(static_cast<size_t>(width), 0.0f);
  }
  peaks.exact = false;

  struct Share {
    int firstColumn = 0;
    int endColumn = 0;
    std::unique_ptr<PeakAccumulator> accumulator;
    std::exception_ptr error;
    std::atomic<bool> done{false};
  };
  std::vector<Share> shares(static_cast<size_t>(threads));
  for (int i = 0; i < threads; ++i) {
    Share& share = shares[static_cast<size_t>(i)];
    share.firstColumn = width * i / threads;
    share.endColumn = width * (i + 1) / threads;
    share.accumulator = std::make_unique<PeakAccumulator>(
        peaks, total, channels, peakColumnStart(share.firstColumn, total, width));
  }

  const auto decodeShare = [&](Share& share, AudioFile2& reader) {
    try {
      const int64_t from = peakColumnStart(share.firstColumn, total, width);
      const int64_t to = peakColumnStart(share.endColumn, total, width);
      reader.Seek(from);
      int64_t left = to - from;
      while (left > 0 && !stop.load(std::memory_order_relaxed)) {
        const int wanted = static_cast<int>(std::min<int64_t>(left, kBlockFrames));
        const SampleBlock block = reader.ReadBlock(wanted);
        if (block.upperBound() == 0) break;
        const int64_t frames = std::min<int64_t>(left, block.upperBound() / channels);
        share.accumulator->add(block.values.data(), frames);
        left -= frames;
      }
      share.accumulator->finish();
    } catch (...) {
      share.error = std::current_exception();
    }
    share.done.store(true, std::memory_order_release);
  };

  // The picture as it stands, taken before the workers start writing into it.
  WaveformPeaks snapshot = peaks;
  std::vector<std::thread> workers;
  for (size_t i = 1; i < shares.size(); ++i)
    workers.emplace_back([&, i] {
      AudioFile2 reader;
      try {
        reader.OpenRead(path);
      } catch (...) {
        shares[i].error = std::current_exception();
        shares[i].done.store(true, std::memory_order_release);
        return;
      }
      decodeShare(shares[i], reader);
    });
  std::thread own([&] { decodeShare(shares[0], *first); });

  // Report the picture so far while the shares are decoded.
  const auto allDone = [&] {
    return std::all_of(shares.begin(), shares.end(), [](const Share& share) {
      return share.done.load(std::memory_order_acquire);
    });
  };
  while (onProgress && !stop.load() && !allDone()) {
    std::this_thread::sleep_for(kProgressInterval);
    for (const Share& share : shares) {
      const int completed = std::min(share.accumulator->completedColumns(), share.endColumn);
      for (int column = share.firstColumn; column < completed; ++column) {
        snapshot.low[static_cast<size_t>(column)] = peaks.low[static_cast<size_t>(column)];
        snapshot.high[static_cast<size_t>(column)] = peaks.high[static_cast<size_t>(column)];
      }
    }
    onProgress(snapshot);
  }
  own.join();
  for (std::thread& worker : workers) worker.join();
  for (const Share& share : shares)
    if (share.error) std::rethrow_exception(share.error);
  if (stop.load()) return {};
  peaks.exact = true;
  return peaks;
}

}  // namespace tarvex
