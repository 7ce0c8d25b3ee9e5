#pragma once

#include <QString>
#include <cstdint>

#include "sources/SourceRecord.h"

namespace tarvex::testing {

// A source as probing records it: `frames` sample frames at `rate`, stereo,
// with its one pending range.
inline SourceRecord recordedSource(const QString& path, int rate, int64_t frames) {
  SourceRecord record;
  record.path = path;
  record.caption = QStringLiteral("Caption");
  record.sampleRate = rate;
  record.channels = 2;
  record.frames = frames;
  record.durationMs = (frames * 1000 + rate / 2) / rate;
  record.lengthSeconds = static_cast<int>(record.durationMs / 1000);
  record.resetRanges();
  return record;
}

}  // namespace tarvex::testing
