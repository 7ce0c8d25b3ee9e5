#pragma once

#include <QString>
#include <cstdint>
#include <utility>
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
  MarkedRange() = default;
  MarkedRange(int begin, int end, RangeState state = RangeState::Pending, QString title = {},
              QString performer = {})
      : begin(begin),
        end(end),
        state(state),
        title(std::move(title)),
        performer(std::move(performer)) {}

  int begin = 0;
  int end = 0;
  RangeState state = RangeState::Pending;
  // Texts for the piece cut from this range (a CUE sheet's track); empty:
  // the source's own title and artist.
  QString title;
  QString performer;
  // Where the range was found to begin and end exactly, in sample frames of
  // the source it was marked on; -1: at the whole second shown (a range the
  // user marked). A CUE sheet's tracks, found sounds and fractional times
  // typed on the command line keep their exact edges here, and the plan,
  // the preview and Save marks use them. Only the pending range is ever moved,
  // and moving an edge drops its exact sample; an edge that no longer lies
  // within a second of the whole second shown is not used (markedSpan).
  int64_t exactFirst = -1;
  int64_t exactEnd = -1;

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
  // Confirmed ranges found for the user (a CUE sheet, the pauses), followed by
  // a pending range over the whole source, as Ok leaves it.
  void replaceMarks(std::vector<MarkedRange> confirmed) {
    ranges = std::move(confirmed);
    ranges.push_back(MarkedRange{0, lengthSeconds, RangeState::Pending});
  }
};

}  // namespace tarvex
