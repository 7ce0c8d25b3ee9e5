#include "sources/SampleSpan.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "sources/MulDiv.h"

namespace tarvex {

int64_t sampleAtSeconds(double seconds, int sampleRate, int64_t length) {
  const int64_t last = std::max<int64_t>(0, length);
  if (sampleRate <= 0 || !(seconds > 0)) return 0;
  const double sample = std::round(seconds * sampleRate);
  if (!(sample < static_cast<double>(last))) return last;
  return static_cast<int64_t>(sample);
}

int64_t firstSampleOf(int seconds, const SourceRecord& source) {
  if (seconds <= 0) return 0;
  if (source.sampleRate <= 0) {
    // A record that knows no rate maps through its length in milliseconds.
    if (source.durationMs <= 0) return 0;
    return std::clamp<int64_t>(MulDiv(int64_t{seconds} * 1000, source.frames, source.durationMs), 0,
                               source.frames);
  }
  return std::min<int64_t>(int64_t{seconds} * source.sampleRate,
                           std::max<int64_t>(0, source.frames));
}

int64_t endSampleOf(int seconds, const SourceRecord& source) {
  if (seconds >= source.lengthSeconds) return std::max<int64_t>(0, source.frames);
  return firstSampleOf(seconds, source);
}

SampleSpan secondsSpan(int begin, int end, const SourceRecord& source) {
  SampleSpan span{firstSampleOf(begin, source), endSampleOf(end, source)};
  span.end = std::max(span.end, span.first);
  return span;
}

int64_t msOfSamples(int64_t samples, const SourceRecord& source) {
  if (source.sampleRate > 0) return MulDiv(samples, 1000, source.sampleRate);
  if (source.frames <= 0) return 0;
  return MulDiv(samples, source.durationMs, source.frames);
}

int64_t sampleInRate(int64_t sample, int fromRate, int toRate) {
  if (fromRate <= 0 || toRate <= 0 || fromRate == toRate) return sample;
  return MulDiv(sample, toRate, fromRate);
}

int beginSecondOf(int64_t sample, int sampleRate) {
  if (sampleRate <= 0 || sample <= 0) return 0;
  return static_cast<int>(std::min<int64_t>(sample / sampleRate, INT_MAX));
}

int endSecondOf(int64_t sample, int sampleRate) {
  if (sampleRate <= 0 || sample <= 0) return 0;
  return static_cast<int>(std::min<int64_t>((sample + sampleRate - 1) / sampleRate, INT_MAX));
}

SampleSpan markedSpan(const MarkedRange& mark, const SourceRecord& marked,
                      const SourceRecord& source) {
  const auto exact = [&marked, &source](int64_t sample) {
    return std::clamp<int64_t>(sampleInRate(sample, marked.sampleRate, source.sampleRate), 0,
                               std::max<int64_t>(0, source.frames));
  };
  // An exact edge counts while it lies within a second of the whole second
  // shown: an edge moved elsewhere is cut where it now stands.
  const auto stillShown = [&marked](int64_t sample, int seconds) {
    if (sample < 0) return false;
    if (marked.sampleRate <= 0) return true;
    const int64_t shown = int64_t{seconds} * marked.sampleRate;
    return sample > shown - marked.sampleRate && sample < shown + marked.sampleRate;
  };
  SampleSpan span = secondsSpan(mark.begin, mark.end, source);
  if (stillShown(mark.exactFirst, mark.begin)) span.first = exact(mark.exactFirst);
  if (stillShown(mark.exactEnd, mark.end)) span.end = exact(mark.exactEnd);
  span.end = std::max(span.end, span.first);
  return span;
}

MarkedRange markAtTimes(double begin, double end, const SourceRecord& source) {
  const int length = std::max(0, source.lengthSeconds);
  const auto shown = [length](double seconds) {
    return static_cast<int>(std::clamp(seconds, 0.0, static_cast<double>(length)));
  };
  MarkedRange mark(shown(std::floor(begin)), shown(std::ceil(end)), RangeState::Confirmed);
  if (source.sampleRate <= 0) return mark;
  mark.exactFirst = sampleAtSeconds(begin, source.sampleRate, source.frames);
  // A whole second at or past the whole-second length ends where the source
  // does, as an End set there in the window does.
  const bool toTheEnd = end == std::floor(end) && end >= length;
  mark.exactEnd =
      std::max(mark.exactFirst,
               toTheEnd ? source.frames : sampleAtSeconds(end, source.sampleRate, source.frames));
  // The seconds shown are those the exact samples lie in: a time a hair below
  // a whole second rounds to that second's sample and is shown there, so its
  // exact edge still counts.
  mark.begin = std::min(length, beginSecondOf(mark.exactFirst, source.sampleRate));
  mark.end = std::max(mark.begin, std::min(length, endSecondOf(mark.exactEnd, source.sampleRate)));
  return mark;
}

std::vector<MarkedRange> marksAtTimes(const std::vector<double>& times,
                                      const SourceRecord& source) {
  std::vector<MarkedRange> marks;
  for (size_t k = 0; k + 1 < times.size(); k += 2) {
    marks.push_back(markAtTimes(times[k], times[k + 1], source));
  }
  return marks;
}

}  // namespace tarvex
