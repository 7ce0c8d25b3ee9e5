#pragma once

#include <QString>

#include "sources/SampleSpan.h"
#include "sources/SourceRecord.h"

namespace tarvex {

// A confirmed range cutting exactly `span` of `source`, titled `title`: shown
// from the whole second its first sample lies in to the whole second after
// its end (at most the source's whole-second length), so its exact edges
// always lie within a second of the seconds shown.
MarkedRange confirmedMarkOf(const SampleSpan& span, const SourceRecord& source,
                            const QString& title);

}  // namespace tarvex
