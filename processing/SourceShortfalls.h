#pragma once

#include <QString>
#include <cstdint>
#include <map>
#include <mutex>
#include <utility>

namespace tarvex {

// The sources of a split whose audio ended before the length they were
// opened with (cut short or damaged after the point they were measured to),
// and what that did to the pieces: shortened, or left unwritten for want of
// any audio. Safe from any worker thread.
class SourceShortfalls {
 public:
  // What the job calls what it writes from a source: "piece" or, in a join, "part".
  explicit SourceShortfalls(QString unit = QStringLiteral("piece")) : unit_(std::move(unit)) {}

  // Decoders may differ by up to this many sample frames at a stream's end
  // (one MPEG-1 frame): a piece that much short is not called shortened.
  static constexpr int64_t kTolerance = 1152;

  // `sourcePath` gave audio only up to `endedAt` sample frames (of
  // `sampleRate` a second); the piece is shortened, or not written when
  // `pieceWritten` is false.
  void endedEarly(const QString& sourcePath, int64_t endedAt, int sampleRate, bool pieceWritten);

  // Empty when every piece got all its audio, else one message naming each
  // file that ended early, where, and what became of its pieces.
  QString message() const;

 private:
  struct Shortfall {
    int64_t endedAt = 0;
    int sampleRate = 0;
    int shortened = 0;
    int unwritten = 0;
  };
  QString unit_;
  mutable std::mutex mutex_;
  std::map<QString, Shortfall> sources_;
};

}  // namespace tarvex
