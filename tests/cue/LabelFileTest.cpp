// Label files as marks of a source, and a source's marks as a label file.
#include <gtest/gtest.h>

#include <QFile>

#include "sources/SampleSpan.h"
#include "sources/cue/CueSheetError.h"
#include "sources/cue/LabelFile.h"
#include "tests/support/TempFolder.h"

namespace tarvex {
namespace {

using testing::TempFolder;

// A source of 11.342608 s: no whole number of milliseconds.
SourceRecord source(int rate, int64_t frames) {
  SourceRecord record;
  record.path = QStringLiteral("/music/talk.mp3");
  record.caption = QStringLiteral("talk");
  record.sampleRate = rate;
  record.channels = 2;
  record.frames = frames;
  record.durationMs = frames * 1000 / rate;
  record.lengthSeconds = static_cast<int>(frames / rate);
  record.resetRanges();
  return record;
}

void writeBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

std::vector<SampleSpan> spansOf(const SourceRecord& record) {
  std::vector<SampleSpan> spans;
  for (const MarkedRange& mark : record.ranges) {
    if (mark.state != RangeState::Pending) spans.push_back(markedSpan(mark, record, record));
  }
  return spans;
}

TEST(LabelFile, MarksRoundTripThroughAFileAtTheSameExactSamples) {
  for (const auto& [rate, frames] :
       {std::pair<int, int64_t>{44100, 500209}, {48000, 544445}, {11025, 125053}}) {
    SCOPED_TRACE(rate);
    TempFolder folder;
    // As an audio editor writes them: a label reaching past the end, a
    // point label (no length), one past the end of the audio, spectral lines.
    writeBytes(folder.path("in.txt"),
               "0.000000\t1.234567\tFirst one\r\n\\\t200.0\t4000.0\r\n"
               "3.3333333\t7.77\tSecond\twith tab\n5.5\t5.5\tpoint\n"
               "9.999999\t60\tTail\n20\t21\tbeyond\n");
    SourceRecord marked = source(rate, frames);
    markFromLabelFile(marked, folder.path("in.txt"));
    const std::vector<SampleSpan> spans = spansOf(marked);
    ASSERT_EQ(spans.size(), 3u);
    EXPECT_EQ(spans[0], (SampleSpan{0, std::llround(1.234567 * rate)}));
    EXPECT_EQ(spans[1], (SampleSpan{std::llround(3.3333333 * rate), std::llround(7.77 * rate)}));
    EXPECT_EQ(spans[2], (SampleSpan{std::llround(9.999999 * rate), frames}));
    EXPECT_EQ(marked.ranges[1].title, "Second with tab");
    EXPECT_EQ(marked.ranges.back().state, RangeState::Pending);

    writeLabelFile(folder.path("out.txt"), labelsOfMarks(marked), false);
    SourceRecord reread = source(rate, frames);
    markFromLabelFile(reread, folder.path("out.txt"));
    EXPECT_EQ(spansOf(reread), spans);
    EXPECT_EQ(reread.ranges[2].title, "Tail");
    EXPECT_THROW(writeLabelFile(folder.path("out.txt"), labelsOfMarks(marked), false),
                 CueSheetError)
        << "an existing file is kept unless the caller asked";
  }
}

TEST(LabelFile, BadFilesAreRefusedNamingTheLineAndLeaveTheMarks) {
  TempFolder folder;
  const std::pair<QByteArray, const char*> cases[] = {
      {"0\tabc\tx\n", "line 1"},
      {"1\t2\tok\n4\t3\tbackwards\n", "line 2"},
      {"-1\t2\tnegative\n", "line 1"},
      {"nan\t2\tx\n", "line 1"},
      {"1,5\t2\tcomma\n", "line 1"},
      {"\n\n", "no label"},
      {"3\t3\tpoint only\n", "marks no stretch"},
      {QByteArray("1\t2\tx\0y\n", 9), "not text"},
  };
  for (const auto& [text, reason] : cases) {
    SCOPED_TRACE(text.toStdString());
    const QString path = folder.path("bad.txt");
    writeBytes(path, text);
    SourceRecord record = source(44100, 500209);
    const SourceRecord before = record;
    try {
      markFromLabelFile(record, path);
      ADD_FAILURE() << "accepted";
    } catch (const CueSheetError& error) {
      EXPECT_TRUE(error.message().contains(QString::fromLatin1(reason)))
          << error.message().toStdString();
    }
    EXPECT_EQ(record.ranges, before.ranges);
  }
  SourceRecord record = source(44100, 500209);
  EXPECT_THROW(markFromLabelFile(record, folder.path("missing.txt")), CueSheetError);
}

}  // namespace
}  // namespace tarvex
