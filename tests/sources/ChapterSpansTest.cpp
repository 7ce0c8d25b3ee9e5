#include <gtest/gtest.h>

#include "sources/chapters/ChapterMarks.h"
#include "tests/support/QtPrinters.h"

namespace tarvex::testing {
namespace {

ID3Chapter chapter(const char* title, int64_t startMs, int64_t endMs) {
  return ID3Chapter{QByteArray(title), QString::fromLatin1(title), startMs, endMs};
}

struct Expected {
  const char* title;
  int64_t first;
  int64_t end;
};

void expectSpans(const std::vector<ChapterSpan>& spans, const std::vector<Expected>& expected) {
  ASSERT_EQ(spans.size(), expected.size());
  for (size_t i = 0; i < spans.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(spans[i].title, QString::fromLatin1(expected[i].title));
    EXPECT_EQ(spans[i].span.first, expected[i].first);
    EXPECT_EQ(spans[i].span.end, expected[i].end);
  }
}

// 8000 Hz: 8 samples to the millisecond; the audio is 10.0003 s long.
constexpr int kRate = 8000;
constexpr int64_t kFrames = 80002;

TEST(ChapterSpans, NestedAndOverlappingChaptersEndWhereTheNextBegins) {
  // "Outer" holds "Inner": it ends where "Inner" begins, and the rest of it
  // after "Inner" is in no piece; "Late" overlaps nothing and keeps its end.
  expectSpans(chapterSpans({chapter("Outer", 0, 6000), chapter("Inner", 1500, 2500),
                            chapter("Late", 7000, 8000)},
                           kRate, kFrames),
              {{"Outer", 0, 12000}, {"Inner", 12000, 20000}, {"Late", 56000, 64000}});
}

TEST(ChapterSpans, SortsByStartAndSkipsChaptersWithNoLength) {
  // Listed out of order; "Point" has no length and does not cut "B"; "Twin"
  // starts with "B", so the one listed first is cut to nothing; "After"
  // starts past the end of the audio; "Tail" runs past it and is kept
  // within it; "Back" ends before it starts.
  expectSpans(chapterSpans(
                  {chapter("Tail", 9000, 12000), chapter("B", 2001, 5000),
                   chapter("Twin", 2001, 4000), chapter("Point", 3000, 3000), chapter("A", 0, 2001),
                   chapter("After", 10500, 11000), chapter("Back", 8000, 7000)},
                  kRate, kFrames),
              {{"A", 0, 16008}, {"Twin", 16008, 32000}, {"Tail", 72000, kFrames}});
}

TEST(ChapterSpans, TimesFallOnTheNearestSampleAtOddRates) {
  // 22050 Hz: 1.001 s is sample 22072.05 → 22072; 2.5 s is 55125 exactly.
  expectSpans(chapterSpans({chapter("One", 1001, 2500)}, 22050, 100000), {{"One", 22072, 55125}});
  EXPECT_TRUE(chapterSpans({chapter("One", 0, 1000)}, 0, 0).empty()) << "no rate, no spans";
}

}  // namespace
}  // namespace tarvex::testing
