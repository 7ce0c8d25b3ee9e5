#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>
#include <QTreeWidget>

#include "app/views/SegmentList.h"
#include "components/skin/SkinWidget.h"
#include "tests/support/window/MainWindowHarness.h"
#include "tests/support/window/SourceFiles.h"

namespace tarvex {
namespace {

using testing::MainWindowHarness;
using testing::makeWavSource;

class SegmentMarkingWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    media_ = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/tarvex-marks-XXXXXX"));
    makeWavSource(media("a100.wav"), 100);
    makeWavSource(media("b50.wav"), 50);
  }
  static void TearDownTestSuite() { delete media_; }
  static QString media(const QString& name) { return media_->path() + QLatin1Char('/') + name; }

  void SetUp() override { harness.show(); }

  // Marks one range on the bar of a 100-second source (span 1033) and confirms it.
  void markRange(int beginBar, int endBar) {
    skin::SkinObject* bar = harness.window().Skin1().findObject("pb");
    bar->setPosition(beginBar);
    harness.clickSkin("Begin");
    bar->setPosition(endBar);
    harness.clickSkin("End");
    harness.clickSkin("Ok");
  }

  static QTemporaryDir* media_;
  MainWindowHarness harness;
};

QTemporaryDir* SegmentMarkingWindow::media_ = nullptr;

TEST_F(SegmentMarkingWindow, BeginEndAndOkConfirmARangeAndOpenANewPendingOne) {
  harness.addFiles({media("a100.wav")});
  EXPECT_EQ(harness.segmentRows(), QStringList{"00:00:00 - 00:01:40|00:01:40|Uncertain"});
  markRange(103, 207);
  EXPECT_EQ(harness.segmentRows(), QStringList({"00:00:10 - 00:00:20|00:00:10|Ok",
                                                "00:00:00 - 00:01:40|00:01:40|Uncertain"}));
  EXPECT_EQ(harness.skinText("tataltime"), "00:00:10");
  const SourceRecord& entry = harness.window().sources().at(0);
  EXPECT_EQ(entry.ranges.size(), 2u);
  EXPECT_EQ(entry.ranges[0].begin, 10);
  EXPECT_EQ(entry.ranges[0].end, 20);
  // A re-plan shows confirmed ranges as "OK".
  harness.clickSourceRow(0);
  EXPECT_EQ(harness.segmentRows().value(0), "00:00:10 - 00:00:20|00:00:10|OK");
}

TEST_F(SegmentMarkingWindow, AnEndBeforeTheBeginShowsZeroLengthAndCannotBeConfirmed) {
  harness.addFiles({media("a100.wav")});
  skin::SkinObject* bar = harness.window().Skin1().findObject("pb");
  bar->setPosition(207);
  harness.clickSkin("Begin");
  bar->setPosition(103);
  harness.clickSkin("End");
  EXPECT_EQ(harness.segmentRows(), QStringList{"00:00:20 - 00:00:10|00:00:00|Uncertain"});
  harness.clickSkin("Ok");
  EXPECT_EQ(harness.platform().informations,
            QStringList{"Start-time must not be larger than end-time."});
  EXPECT_EQ(harness.window().lv_time().topLevelItemCount(), 1);
}

TEST_F(SegmentMarkingWindow, MarkingIsRefusedUnderTheCuttingFunctions) {
  harness.mainSettings().splitFunction = SplitFunction::EveryNSeconds;
  harness.addFiles({media("a100.wav")});
  harness.clickSkin("Begin");
  harness.clickSkin("Ok");
  EXPECT_EQ(harness.platform().informations, QStringList(2, kOnlyMarkingFunctionsMessage));
}

TEST_F(SegmentMarkingWindow, RemovingRangesKeepsThePendingOne) {
  harness.addFiles({media("a100.wav")});
  markRange(103, 207);
  markRange(620, 723);
  harness.clickSegmentRow(2);
  EXPECT_TRUE(harness.window().segmentList().hasFocus());
  harness.clickSkin("Remove");
  EXPECT_EQ(harness.platform().informations, QStringList{kPendingRowMessage});
  harness.triggerMenuItem("Remove3");  // the menus' Remove never removes ranges
  EXPECT_EQ(harness.window().lv().topLevelItemCount(), 1);
  harness.clickSegmentRow(0);
  harness.clickSkin("Remove");
  EXPECT_EQ(harness.segmentRows(), QStringList({"00:01:00 - 00:01:10|00:00:10|Ok",
                                                "00:00:00 - 00:01:40|00:01:40|Uncertain"}));
  EXPECT_EQ(harness.window().sources().at(0).ranges.size(), 2u);
  EXPECT_EQ(harness.skinText("tataltime"), "00:00:10");
  // Clear with the focus on the segment list resets the ranges.
  harness.clickSegmentRow(0);
  harness.clickSkin("Clear");
  EXPECT_EQ(harness.segmentRows(), QStringList{"00:00:00 - 00:01:40|00:01:40|Uncertain"});
  EXPECT_FALSE(harness.window().segmentList().hasFocus());
  EXPECT_EQ(harness.window().lv().topLevelItemCount(), 1);
}

TEST_F(SegmentMarkingWindow, UnificationSharesTheFirstSourcesRanges) {
  harness.mainSettings().splitFunction = SplitFunction::Unification;
  harness.addFiles({media("a100.wav"), media("b50.wav")});
  markRange(103, 620);  // 10 to 60
  markRange(723, 930);  // 70 to 90
  EXPECT_EQ(harness.skinText("tataltime"), "00:01:50");
  harness.clickSourceRow(1);
  EXPECT_EQ(harness.segmentRows().size(), 3) << "every source shows the shared ranges";
  // Moving the first source down makes the other one's ranges the shared ones.
  harness.clickSourceRow(0);
  harness.clickSkin("Down");
  harness.clickSourceRow(0);
  EXPECT_EQ(harness.segmentRows(), QStringList{"00:00:00 - 00:00:50|00:00:50|Uncertain"});
  EXPECT_EQ(harness.skinText("tataltime"), "00:01:40") << "50 from each source";
  // Resetting under Unification resets the shared ranges, whichever row is selected.
  harness.clickSourceRow(1);
  harness.clickSegmentRow(0);
  harness.clickSkin("Clear");
  EXPECT_EQ(harness.window().sources().at(0).ranges.size(), 1u);
  EXPECT_EQ(harness.window().sources().at(1).ranges.size(), 3u)
      << "the second source's own ranges are not the shared ones";
}

}  // namespace
}  // namespace tarvex
