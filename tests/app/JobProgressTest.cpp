// The job progress display without a window: the percentage on "pbpos" and
// the "convertpb" bar of the built-in skin.
#include <gtest/gtest.h>

#include "app/ConversionProgress.h"
#include "app/JobProgress.h"
#include "components/skin/SkinObject.h"
#include "components/skin/SkinWidget.h"
#include "config/MainSettings.h"

namespace tarvex {
namespace {

class JobProgressDisplay : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(skin.loadSkinFile(QString()), QString());
    ASSERT_TRUE(skin.selectLayout(QStringLiteral("Plaskett")));
    pbpos = skin.findObject(QStringLiteral("pbpos"));
    convertpb = skin.findObject(QStringLiteral("convertpb"));
    ASSERT_NE(pbpos, nullptr);
    ASSERT_NE(convertpb, nullptr);
  }

  int barWidth() const { return convertpb->rect().width(); }

  skin::SkinWidget skin;
  MainSettings settings;
  skin::SkinObject* pbpos = nullptr;
  skin::SkinObject* convertpb = nullptr;
};

TEST_F(JobProgressDisplay, ShowsWholePercentsAndKeepsOddTotalsInRange) {
  ConversionProgress bar(convertpb);
  JobProgress progress(settings, pbpos, bar);
  progress.clear();
  const int emptyBar = barWidth();

  progress.show(2, 3);  // 66.67 %: the whole percent, not rounded up
  EXPECT_EQ(pbpos->text(), QStringLiteral("66%"));
  EXPECT_GT(barWidth(), emptyBar);

  progress.clear();
  EXPECT_EQ(pbpos->text(), QString());
  EXPECT_EQ(barWidth(), emptyBar);

  progress.show(0, 0);  // nothing planned
  EXPECT_EQ(pbpos->text(), QStringLiteral("0%"));
  // Right after a clear the next report draws at once.
  progress.clear();
  progress.show(-5, 10);
  EXPECT_EQ(pbpos->text(), QStringLiteral("0%"));
  // More done than the total (a piece longer than planned) stops at 100 %,
  // and the end of a piece always shows, however soon after the last report.
  progress.show(12, 10);
  EXPECT_EQ(pbpos->text(), QStringLiteral("100%"));
}

TEST_F(JobProgressDisplay, ASkinWithoutPercentageStillMovesTheBar) {
  ConversionProgress bar(convertpb);
  JobProgress progress(settings, nullptr, bar);
  const QString skinText = pbpos->text();
  progress.clear();
  const int emptyBar = barWidth();
  progress.show(1, 2);
  EXPECT_GT(barWidth(), emptyBar);
  EXPECT_EQ(pbpos->text(), skinText);
  progress.clear();
  EXPECT_EQ(barWidth(), emptyBar);
}

}  // namespace
}  // namespace tarvex
