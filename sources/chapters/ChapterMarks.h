#pragma once

#include <QList>
#include <QString>
#include <vector>

#include "sources/SampleSpan.h"
#include "sources/SourceRecord.h"
#include "tags/ID3Chapters.h"

namespace tarvex {

// One chapter as the span of the source it cuts, with its title.
struct ChapterSpan {
  SampleSpan span;
  QString title;
};

// The spans a source's chapters cut, in order. Each time is sample
// round(ms / 1000 × rate), kept within the source. A chapter with no length
// (zero-length, ending before it starts, or starting at or past the end of
// the audio) is skipped. The rest are taken by their start (those starting
// together in the order the tag lists them); a chapter that runs past the
// start of the next one (it overlaps it, or holds it nested) ends where the
// next one begins, and one cut to nothing so is skipped: of chapters starting
// together the last listed is kept. Audio between chapters (a gap, or the
// rest of a chapter after one nested in it) is in no span.
std::vector<ChapterSpan> chapterSpans(const QList<ID3Chapter>& chapters, int sampleRate,
                                      int64_t frames);

// Marks a source from the chapters of its ID3v2 tag as a CUE sheet's tracks
// mark it: one confirmed range per chapter span, at its exact samples and
// titled by the chapter, then a pending range over the whole source. Returns
// false (the record unchanged) when the file holds no chapter with a length.
bool markFromChapters(SourceRecord& record);

}  // namespace tarvex
