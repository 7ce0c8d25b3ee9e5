#include "sources/SpanMarks.h"

#include <algorithm>

namespace tarvex {

MarkedRange confirmedMarkOf(const SampleSpan& span, const SourceRecord& source,
                            const QString& title) {
  const int length = std::max(0, source.lengthSeconds);
  MarkedRange mark(std::min(beginSecondOf(span.first, source.sampleRate), length),
                   std::min(endSecondOf(span.end, source.sampleRate), length),
                   RangeState::Confirmed, title);
  mark.exactFirst = span.first;
  mark.exactEnd = span.end;
  return mark;
}

}  // namespace tarvex
