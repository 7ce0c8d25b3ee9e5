#pragma once

#include <QString>
#include <cstdint>
#include <vector>

#include "tags/AudioFileinfo.h"

namespace tarvex {

// Where a marked range stands in its marking cycle.
enum class RangeState {
  Pending,        // the last range, still being marked with Begin and End
  Confirmed,      // confirmed earlier
  JustConfirmed,  // confirmed by the last Ok; becomes Confirmed at the next re-plan
};

// A range of a source, whole seconds.
struct MarkedRange {
  int begin = 0;
  int end = 0;
  RangeState state = RangeState::Pending;

  friend bool operator==(const MarkedRange&, const MarkedRange&) = default;
};

// One source of the source list: what probing learnt about the file, the
// ranges marked on it (the last one pending) and its tags.
struct SourceRecord {
  QString path;
  QString caption;         // the row's text: the tag title, else the file name
  int64_t frames = 0;      // exact length in sample frames
  int64_t durationMs = 0;  // the length in milliseconds, rounded from the frames
  int sampleRate = 0;
  int channels = 0;
  int64_t fileBytes = 0;
  int lengthSeconds = 0;  // durationMs div 1000
  int barMax = 0;         // position bar maximum while this source is selected
  std::vector<MarkedRange> ranges{MarkedRange{}};
  AudioFileinfo tags;

  // A fresh record covers the whole file with one pending range.
  void resetRanges() { ranges = {MarkedRange{0, lengthSeconds, RangeState::Pending}}; }
};

}  // namespace tarvex
