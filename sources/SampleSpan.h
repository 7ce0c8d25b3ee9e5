#pragma once

#include <cstdint>
#include <vector>

#include "sources/SourceRecord.h"

namespace tarvex {

// A stretch of one source in its own sample frames: from `first` to one
// before `end`. Pieces, join parts, marks with exact edges, CUE tracks and
// found sounds are all cut through one of these.
struct SampleSpan {
  int64_t first = 0;
  int64_t end = 0;

  int64_t frames() const { return end > first ? end - first : 0; }
  friend bool operator==(const SampleSpan&, const SampleSpan&) = default;
};

// The sample a time falls on: round(seconds × rate), kept within 0 and
// `length`. A time is never mapped through a length in milliseconds, which
// would move it by a few samples whenever the length is not a whole number of
// milliseconds.
int64_t sampleAtSeconds(double seconds, int sampleRate, int64_t length);

// The first sample of whole second `seconds` of a source.
int64_t firstSampleOf(int seconds, const SourceRecord& source);

// The end of a range ending at whole second `seconds`: its sample, or the
// source's last frame (one past it) at or past its whole-second length, so the
// fraction of a second after the last whole second stays in the last piece.
int64_t endSampleOf(int seconds, const SourceRecord& source);

// Whole seconds `begin` to `end` of a source as samples: firstSampleOf and
// endSampleOf, never ending before it begins.
SampleSpan secondsSpan(int begin, int end, const SourceRecord& source);

// How long `samples` frames of `source` last in milliseconds, rounded to the
// nearest: the figure a list shows for a span. A record that knows no rate
// maps through its length in milliseconds.
int64_t msOfSamples(int64_t samples, const SourceRecord& source);

// The sample at the same time in another rate, rounded to the nearest.
int64_t sampleInRate(int64_t sample, int fromRate, int toRate);

// The whole seconds a list shows for an exact edge: the second it lies in for
// a begin, the next whole second for an end (the row covers the piece).
int beginSecondOf(int64_t sample, int sampleRate);
int endSecondOf(int64_t sample, int sampleRate);

// What a marked range cuts from `source` (the record it was marked on is
// `marked`: the first source's under Unification): its exact edges carried to
// the source's rate where it has them and they lie within a second of the
// whole second shown (an edge moved elsewhere no longer counts), else its
// whole seconds (an end at or
// past the whole-second length running to the source's end); kept within the
// source, never ending before it begins. The plan and the preview both use it.
SampleSpan markedSpan(const MarkedRange& mark, const SourceRecord& marked,
                      const SourceRecord& source);

// A confirmed range from `begin` to `end` seconds (any fraction) of a source:
// cut at round(t × rate) of each, shown from the whole second the begin lies
// in to the whole second after the end, within the source's length. A whole
// second at or past the source's whole-second length ends at its last frame.
MarkedRange markAtTimes(double begin, double end, const SourceRecord& source);

// Confirmed ranges from times in pairs, each range's begin then its end (an
// odd last time is no range), each as markAtTimes makes it.
std::vector<MarkedRange> marksAtTimes(const std::vector<double>& times, const SourceRecord& source);

}  // namespace tarvex
