// Chapters marked on add, label files loaded and saved as marks, and pieces
// named by their titles: the window's wiring of the core's rules.
#include <gtest/gtest.h>

#include <QDir>

#include "tests/support/OutsideTool.h"
#include "tests/support/window/MainWindowHarness.h"
#include "tests/support/window/SourceFiles.h"

namespace tarvex {
namespace {

using testing::MainWindowHarness;

// Two chapters through mutagen; the second starts inside the first.
constexpr const char* kChapters = R"(
import sys
from mutagen.id3 import ID3, CHAP, CTOC, CTOCFlags, TIT2
tags = ID3()
tags.add(CTOC(element_id='toc', flags=CTOCFlags.TOP_LEVEL | CTOCFlags.ORDERED,
              child_element_ids=['a', 'b'], sub_frames=[]))
tags.add(CHAP(element_id='a', start_time=0, end_time=4500,
              sub_frames=[TIT2(encoding=3, text=['Opening'])]))
tags.add(CHAP(element_id='b', start_time=3250, end_time=8125,
              sub_frames=[TIT2(encoding=3, text=['Talk/Q&A'])]))
tags.save(sys.argv[1], v2_version=4)
)";

TEST(ChaptersAndLabelsWindow, ChaptersMarkOnAddLabelsLoadAndSaveAndTitlesNamePieces) {
  MainWindowHarness harness;
  harness.show();
  const QString source = harness.mediaPath("show.mp3");
  testing::makeMp3Source(source, 9.0);
  testing::runOutsideTool("/usr/bin/python3", {"-c", kChapters, source});
  harness.mainSettings().splitFunction = SplitFunction::EveryNSeconds;
  harness.mainSettings().namePiecesByTitle = true;
  harness.addFiles({source});
  EXPECT_EQ(harness.mainSettings().splitFunction, SplitFunction::Custom);
  EXPECT_EQ(harness.segmentRows(),
            QStringList({"00:00:00 - 00:00:04|00:00:04|OK", "00:00:03 - 00:00:09|00:00:06|OK",
                         "00:00:00 - 00:00:09|00:00:09|Uncertain"}));
  harness.clickSkin("Split");
  EXPECT_EQ(QDir(harness.outputDir()).entryList(QDir::Files, QDir::Name),
            QStringList({"01 Opening.mp3", "02 TalkQ&A.mp3"}));

  // A label file loads as marks, and Save marks writes back to it.
  const QString labels = harness.mediaPath("show.txt");
  testing::writeText(labels, "1.2\t2.5\tone\n5.5\t7.7\ttwo\n");
  harness.platform().openAnswers.push_back({labels});
  harness.triggerMenuItem("LoadMarks1");
  EXPECT_EQ(harness.segmentRows(),
            QStringList({"00:00:01 - 00:00:03|00:00:02|OK", "00:00:05 - 00:00:08|00:00:03|OK",
                         "00:00:00 - 00:00:09|00:00:09|Uncertain"}));
  harness.platform().questionAnswers.push_back(true);
  harness.triggerMenuItem("SaveMarks1");
  EXPECT_EQ(testing::readText(labels), "1.200000\t2.500000\tone\n5.500000\t7.700000\ttwo\n");
  EXPECT_FALSE(QFile::exists(harness.mediaPath("show.cue")));
}

}  // namespace
}  // namespace tarvex
