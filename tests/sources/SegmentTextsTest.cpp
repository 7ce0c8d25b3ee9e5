// What the segment list shows against what the pieces hold: a source whose
// length is not a whole number of seconds.
#include <gtest/gtest.h>

#include "components/audio/AudioFile2.h"
#include "sources/SampleSpan.h"
#include "sources/SplitPlanning.h"
#include "sources/TimeFormat.h"
#include "tests/support/OutsideTool.h"
#include "tests/support/TempFolder.h"

namespace tarvex {
namespace {

// A source as the source list records it after probing.
SourceRecord probed(const QString& path) {
  AudioFile2 reader;
  reader.OpenRead(path);
  SourceRecord source;
  source.path = path;
  source.durationMs = reader.Duration();
  source.lengthSeconds = static_cast<int>(source.durationMs / 1000);
  source.frames = reader.Samples();
  source.sampleRate = reader.SampleRate();
  source.resetRanges();
  return source;
}

double ffprobeSeconds(const QString& path) {
  return testing::runOutsideTool("ffprobe", {"-v", "error", "-show_entries", "format=duration",
                                             "-of", "default=nw=1:nk=1", path})
      .trimmed()
      .toDouble();
}

TEST(SegmentTexts, RowsAndTotalShowWhatTheSplitPiecesHold) {
  testing::TempFolder folder;
  const QString path = folder.path("long.wav");
  testing::runOutsideTool(
      "sox", {"-n", "-r", "8000", "-c", "1", "-b", "16", path, "synth", "30.5", "sine", "300"});
  const double outsideSeconds = ffprobeSeconds(path);
  ASSERT_NEAR(outsideSeconds, 30.5, 1e-3);
  const SourceRecord source = probed(path);
  ASSERT_EQ(source.lengthSeconds, 30);

  const std::vector<Segment> rows = planByTimePieces(source.lengthSeconds, 10);
  ASSERT_EQ(rows.size(), 3u);
  double heldSeconds = 0;
  for (const Segment& row : rows) {
    const SampleSpan span = secondsSpan(row.begin, row.end, source);
    const SegmentTexts texts = segmentTexts(row.begin, row.end, source);
    EXPECT_EQ(texts.length, FormatMilliseconds(msOfSamples(span.frames(), source)));
    heldSeconds += static_cast<double>(span.frames()) / source.sampleRate;
  }
  // The last piece keeps the half second after the last whole one.
  const SegmentTexts last = segmentTexts(rows.back().begin, rows.back().end, source);
  EXPECT_EQ(last.range, "00:00:20 - 00:00:31");
  EXPECT_EQ(last.length, "00:00:11");
  EXPECT_EQ(secondsSpan(rows.back().begin, rows.back().end, source),
            (SampleSpan{20 * 8000, source.frames}));
  EXPECT_EQ(source.frames, 244'000);  // 30.5 s at 8 kHz
  EXPECT_NEAR(heldSeconds, outsideSeconds, 1e-3);
  EXPECT_EQ(totalPlannedSeconds(SplitFunction::EveryNSeconds, {source}), 31);
  EXPECT_EQ(FormatMilliseconds(source.durationMs), "00:00:31");

  // By count, and a marked range to the end: the same rule.
  const std::vector<Segment> byCount = planByCountPieces(source.lengthSeconds, 4);
  EXPECT_TRUE(
      segmentTexts(byCount.back().begin, byCount.back().end, source).range.endsWith(" - 00:00:31"));
  SourceRecord marked = source;
  marked.ranges = {{25, 30, RangeState::Confirmed}, {0, 30, RangeState::Pending}};
  EXPECT_EQ(segmentTexts(25, 30, marked).length, "00:00:06");
  EXPECT_EQ(totalPlannedSeconds(SplitFunction::Custom, {marked}), 6);
}

// A record as probing leaves it: `ms` long at `rate`.
SourceRecord recordOf(int64_t ms, int rate) {
  SourceRecord source;
  source.sampleRate = rate;
  source.frames = ms * rate / 1000;
  source.durationMs = ms;
  source.lengthSeconds = static_cast<int>(ms / 1000);
  source.resetRanges();
  return source;
}

TEST(SegmentTexts, RangesInsideTheSourceAndOddMarks) {
  SourceRecord source = recordOf(100'400, 8000);  // rounds down: shown as 00:01:40
  EXPECT_EQ(segmentTexts(10, 20, source).range, "00:00:10 - 00:00:20");
  EXPECT_EQ(segmentTexts(10, 20, source).length, "00:00:10");
  EXPECT_EQ(segmentTexts(90, 100, source).range, "00:01:30 - 00:01:40");
  EXPECT_EQ(msOfSamples(secondsSpan(90, 100, source).frames(), source), 10'400);
  // A pending mark with its end before its begin shows the marks, length 0.
  EXPECT_EQ(segmentTexts(50, 40, source).range, "00:00:50 - 00:00:40");
  EXPECT_EQ(segmentTexts(50, 40, source).length, "00:00:00");
  EXPECT_EQ(secondsSpan(50, 40, source).frames(), 0);
  // Unification: a shared range to the first source's end covers each
  // source to its own end, at its own rate.
  const SourceRecord shorter = recordOf(40'700, 11025);
  EXPECT_EQ(totalPlannedSeconds(SplitFunction::Unification, {source, shorter}),
            141);  // 100.4 + 40.7 s
  // A length of no whole number of milliseconds: 11.3426 s at 44.1 kHz.
  SourceRecord odd = recordOf(11'342, 44100);
  odd.frames = 500'208;
  EXPECT_EQ(segmentTexts(7, 11, odd).range, "00:00:07 - 00:00:11");
  EXPECT_EQ(msOfSamples(secondsSpan(7, 11, odd).frames(), odd), 4'343);  // 191 508 samples
  // A record that knows no rate maps through its milliseconds.
  SourceRecord noRate = recordOf(30'500, 8000);
  noRate.sampleRate = 0;
  EXPECT_EQ(msOfSamples(secondsSpan(20, 30, noRate).frames(), noRate), 10'500);
}

TEST(FormatMilliseconds, RoundsHalfASecondUp) {
  EXPECT_EQ(roundedSeconds(10'499), 10);
  EXPECT_EQ(roundedSeconds(10'500), 11);
  EXPECT_EQ(roundedSeconds(0), 0);
  EXPECT_EQ(FormatMilliseconds(3'725'600), "01:02:06");
}

}  // namespace
}  // namespace tarvex
