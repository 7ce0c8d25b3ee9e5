#include <gtest/gtest.h>

#include "sources/MarkingRules.h"
#include "sources/SplitPlanning.h"

namespace tarvex {
namespace {

SourceRecord source(int lengthSeconds, const QString& path = QStringLiteral("a.mp3")) {
  SourceRecord record;
  record.path = path;
  record.caption = path;
  record.lengthSeconds = lengthSeconds;
  record.resetRanges();
  return record;
}

using Ranges = std::vector<MarkedRange>;
constexpr auto kPending = RangeState::Pending;
constexpr auto kConfirmed = RangeState::Confirmed;
constexpr auto kJust = RangeState::JustConfirmed;

class MarkingRulesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    records.add(source(100, "a.mp3"));
    records.add(source(50, "b.mp3"));
  }
  const Ranges& ranges(int row) const { return records.at(row).ranges; }

  SourceRecords records;
  MarkingRules rules{records};
};

TEST_F(MarkingRulesTest, BeginEndAndOkConfirmTheRangeAndAppendANewPendingOne) {
  EXPECT_EQ(rules.markBegin(SplitFunction::Custom, 1, 10), MarkingOutcome::Done);
  EXPECT_EQ(rules.markEnd(SplitFunction::Custom, 1, 20), MarkingOutcome::Done);
  EXPECT_EQ(ranges(1), (Ranges{{10, 20, kPending}}));
  EXPECT_EQ(rules.confirm(SplitFunction::Custom, 1), MarkingOutcome::Done);
  EXPECT_EQ(ranges(1), (Ranges{{10, 20, kJust}, {0, 50, kPending}}));
  EXPECT_EQ(ranges(0), (Ranges{{0, 100, kPending}})) << "another source keeps its ranges";
  // A re-plan shows the range confirmed just now as any other confirmed one.
  rules.settle(SplitFunction::Custom, 1);
  EXPECT_EQ(ranges(1), (Ranges{{10, 20, kConfirmed}, {0, 50, kPending}}));
  EXPECT_EQ(totalPlannedSeconds(SplitFunction::Custom, records.all()), 100 + 10);
}

TEST_F(MarkingRulesTest, MarksStayInsideTheSourceAndMayBeGivenInAnyOrder) {
  rules.markEnd(SplitFunction::Custom, 1, 5);
  rules.markBegin(SplitFunction::Custom, 1, 30);
  EXPECT_EQ(ranges(1).back(), (MarkedRange{30, 5, kPending})) << "end before begin is allowed";
  EXPECT_EQ(rules.confirm(SplitFunction::Custom, 1), MarkingOutcome::StartAfterEnd);
  EXPECT_EQ(ranges(1).size(), 1u) << "a refused Ok changes nothing";
  rules.markEnd(SplitFunction::Custom, 1, 500);
  EXPECT_EQ(ranges(1).back().end, 50);
  rules.markBegin(SplitFunction::Custom, 1, -4);
  EXPECT_EQ(ranges(1).back().begin, 0);
}

TEST_F(MarkingRulesTest, FunctionsByTimeOrCountRefuseMarkingAndRemoval) {
  for (SplitFunction function : {SplitFunction::EveryNSeconds, SplitFunction::EqualPieces}) {
    EXPECT_EQ(rules.markBegin(function, 0, 10), MarkingOutcome::NotAMarkingFunction);
    EXPECT_EQ(rules.markEnd(function, 0, 10), MarkingOutcome::NotAMarkingFunction);
    EXPECT_EQ(rules.confirm(function, 0), MarkingOutcome::NotAMarkingFunction);
    EXPECT_EQ(rules.remove(function, 0, 0), MarkingOutcome::NoSource);
  }
  EXPECT_EQ(ranges(0), (Ranges{{0, 100, kPending}}));
  EXPECT_EQ(rules.markBegin(SplitFunction::Custom, 7, 10), MarkingOutcome::NoSource);
  EXPECT_EQ(rules.markBegin(SplitFunction::Custom, -1, 10), MarkingOutcome::NoSource);
}

TEST_F(MarkingRulesTest, RemovingTakesAConfirmedRangeButNeverThePendingOne) {
  rules.markBegin(SplitFunction::Custom, 0, 10);
  rules.confirm(SplitFunction::Custom, 0);
  rules.markBegin(SplitFunction::Custom, 0, 40);
  rules.confirm(SplitFunction::Custom, 0);
  ASSERT_EQ(ranges(0).size(), 3u);
  EXPECT_EQ(rules.remove(SplitFunction::Custom, 0, 2), MarkingOutcome::PendingRangeKept);
  EXPECT_EQ(rules.remove(SplitFunction::Custom, 0, 0), MarkingOutcome::Done);
  EXPECT_EQ(ranges(0), (Ranges{{40, 100, kJust}, {0, 100, kPending}}));
  EXPECT_EQ(rules.remove(SplitFunction::Custom, 0, 9), MarkingOutcome::NoSource);
  EXPECT_EQ(rules.reset(SplitFunction::Custom, 0), MarkingOutcome::Done);
  EXPECT_EQ(ranges(0), (Ranges{{0, 100, kPending}}));
}

TEST_F(MarkingRulesTest, UnificationMarksTheFirstSourceWhicheverRowIsSelected) {
  rules.markBegin(SplitFunction::Unification, 1, 10);
  rules.markEnd(SplitFunction::Unification, 1, 60);
  rules.confirm(SplitFunction::Unification, 1);
  rules.markBegin(SplitFunction::Unification, 1, 70);
  rules.markEnd(SplitFunction::Unification, 1, 90);
  rules.confirm(SplitFunction::Unification, 1);
  EXPECT_EQ(ranges(0).size(), 3u);
  EXPECT_EQ(ranges(1), (Ranges{{0, 50, kPending}})) << "the selected row's own ranges stay";
  // The 50-second source gets 40 s of the first range and nothing of the second.
  EXPECT_EQ(totalPlannedSeconds(SplitFunction::Unification, records.all()), 50 + 20 + 40);
  const auto cut = cutRangesFor(SplitFunction::Unification, records.all(), 1);
  ASSERT_EQ(cut.size(), 1u);
  EXPECT_EQ(cut[0].begin, 10);
  EXPECT_EQ(cut[0].end, 50);
  EXPECT_EQ(cut[0].row, 0);
}

TEST_F(MarkingRulesTest, MovingASourceToTheTopMakesItsRangesTheSharedOnes) {
  rules.markBegin(SplitFunction::Custom, 1, 5);
  rules.confirm(SplitFunction::Custom, 1);
  ASSERT_TRUE(records.moveDown(0));
  EXPECT_EQ(records.at(0).path, "b.mp3");
  const auto cut = cutRangesFor(SplitFunction::Unification, records.all(), 1);
  ASSERT_EQ(cut.size(), 1u);
  EXPECT_EQ(cut[0].begin, 5);
  EXPECT_EQ(cut[0].end, 50);
  EXPECT_FALSE(records.moveDown(1)) << "the last row cannot move down";
  EXPECT_FALSE(records.moveUp(0)) << "the first row cannot move up";
}

TEST_F(MarkingRulesTest, TheLonePendingRangeIsCutWholeAndOtherwiseLeftOut) {
  rules.markBegin(SplitFunction::Custom, 0, 30);
  auto cut = cutRangesFor(SplitFunction::Custom, records.all(), 0);
  ASSERT_EQ(cut.size(), 1u) << "the lone pending range is what Begin and End made of it";
  EXPECT_EQ(cut[0].begin, 30);
  rules.confirm(SplitFunction::Custom, 0);
  cut = cutRangesFor(SplitFunction::Custom, records.all(), 0);
  ASSERT_EQ(cut.size(), 1u) << "the new pending range is not cut";
  EXPECT_EQ(cut[0].end, 100);
}

TEST(SourceRecordsTest, TagsGoBackRowByRowAndATitleBecomesTheCaption) {
  SourceRecords records;
  records.add(source(10, "one.mp3"));
  records.add(source(10, "two.mp3"));
  std::vector<AudioFileinfo> tags = records.tags();
  ASSERT_EQ(tags.size(), 2u);
  tags[1].title = "Second";
  tags[0].artist = "Ann";
  records.setTags(tags);
  EXPECT_EQ(records.at(0).caption, "one.mp3") << "an empty title leaves the caption";
  EXPECT_EQ(records.at(0).tags.artist, "Ann");
  EXPECT_EQ(records.at(1).caption, "Second");
  records.remove(0);
  EXPECT_EQ(records.count(), 1);
  records.remove(5);
  EXPECT_EQ(records.count(), 1);
}

}  // namespace
}  // namespace tarvex
