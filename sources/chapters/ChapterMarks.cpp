#include "sources/chapters/ChapterMarks.h"

#include <QFile>
#include <algorithm>

#include "sources/SpanMarks.h"

namespace tarvex {

std::vector<ChapterSpan> chapterSpans(const QList<ID3Chapter>& chapters, int sampleRate,
                                      int64_t frames) {
  std::vector<ChapterSpan> sorted;
  if (sampleRate <= 0) return sorted;
  for (const ID3Chapter& chapter : chapters) {
    const int64_t first =
        sampleAtSeconds(static_cast<double>(chapter.startMs) / 1000.0, sampleRate, frames);
    const int64_t end =
        sampleAtSeconds(static_cast<double>(chapter.endMs) / 1000.0, sampleRate, frames);
    // A zero-length chapter marks a moment, not a stretch: it cuts nothing.
    if (end > first) sorted.push_back(ChapterSpan{SampleSpan{first, end}, chapter.title});
  }
  std::stable_sort(sorted.begin(), sorted.end(), [](const ChapterSpan& a, const ChapterSpan& b) {
    return a.span.first < b.span.first;
  });
  std::vector<ChapterSpan> spans;
  for (size_t i = 0; i < sorted.size(); ++i) {
    ChapterSpan chapter = sorted[i];
    if (i + 1 < sorted.size()) {
      chapter.span.end = std::min(chapter.span.end, sorted[i + 1].span.first);
    }
    if (chapter.span.frames() > 0) spans.push_back(std::move(chapter));
  }
  return spans;
}

bool markFromChapters(SourceRecord& record) {
  QFile file(record.path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  const std::vector<ChapterSpan> spans =
      chapterSpans(readID3Chapters(file), record.sampleRate, record.frames);
  if (spans.empty()) return false;
  std::vector<MarkedRange> marks;
  for (const ChapterSpan& chapter : spans) {
    marks.push_back(confirmedMarkOf(chapter.span, record, chapter.title));
  }
  record.replaceMarks(std::move(marks));
  return true;
}

}  // namespace tarvex
