#include <gtest/gtest.h>

#include "sources/MulDiv.h"
#include "sources/SplitPlanning.h"
#include "sources/TimeFormat.h"

namespace tarvex {
namespace {

std::vector<std::pair<int, int>> bounds(const std::vector<Segment>& rows) {
  std::vector<std::pair<int, int>> result;
  for (const Segment& row : rows) result.emplace_back(row.begin, row.end);
  return result;
}

SourceRecord marked(int length, std::vector<int> begins, std::vector<int> ends) {
  SourceRecord source;
  source.lengthSeconds = length;
  source.ranges.clear();
  for (size_t k = 0; k < begins.size(); ++k) {
    source.ranges.push_back(
        {begins[k], ends[k], k + 1 == begins.size() ? RangeState::Pending : RangeState::Confirmed});
  }
  return source;
}

using Bounds = std::vector<std::pair<int, int>>;

TEST(FormatTime, PadsEachPartToTwoDigits) {
  EXPECT_EQ(FormatTime(0), "00:00:00");
  EXPECT_EQ(FormatTime(3725), "01:02:05");
  EXPECT_EQ(FormatTime(125), "00:02:05");
  EXPECT_EQ(FormatTime(360000), "100:00:00");
  EXPECT_EQ(FormatTime(86399), "23:59:59");
}

TEST(MulDiv, RoundsToNearestWithAWideIntermediate) {
  EXPECT_EQ(MulDiv(52, 1084, 1100), 51);
  EXPECT_EQ(MulDiv(52, 1200, 1100), 57);
  EXPECT_EQ(MulDiv(1033, 300, 1033), 300);
  EXPECT_EQ(MulDiv(516, 300, 1033), 150);
  EXPECT_EQ(MulDiv(1, 3, 2), 2) << "halves round away from zero";
  EXPECT_EQ(MulDiv(-1, 3, 2), -2);
  // 24 hours of 48 kHz frames times 10000 overflows 64 bits only without care.
  EXPECT_EQ(MulDiv(int64_t{86400} * 48000, 10000, int64_t{86400} * 48000), 10000);
  EXPECT_EQ(MulDiv(INT64_MAX / 2, 4, 4), INT64_MAX / 2);
  EXPECT_EQ(MulDiv(5, 5, 0), -1);
}

TEST(PlanByTime, CutsEveryNSecondsWithAShorterLastPiece) {
  EXPECT_EQ(bounds(planByTimePieces(125, 60)), (Bounds{{0, 60}, {60, 120}, {120, 125}}));
  for (const Segment& row : planByTimePieces(125, 60))
    EXPECT_EQ(row.status, SegmentStatus::Planned);
}

TEST(PlanByTime, PlansNoEmptyPieceAfterAnEvenDivision) {
  EXPECT_EQ(bounds(planByTimePieces(120, 60)), (Bounds{{0, 60}, {60, 120}}));
  EXPECT_EQ(bounds(planByTimePieces(1, 1)), (Bounds{{0, 1}}));
}

TEST(PlanByTime, OddInputsStillGiveOneRowPerPiece) {
  EXPECT_EQ(bounds(planByTimePieces(30, 60)), (Bounds{{0, 30}})) << "N longer than the source";
  EXPECT_EQ(bounds(planByTimePieces(0, 60)), (Bounds{{0, 0}})) << "a source of length 0";
  EXPECT_EQ(planByTimePieces(5, 0).size(), 5u) << "N below 1 counts as 1";
  EXPECT_EQ(planByTimePieces(5, -3).size(), 5u);
  EXPECT_EQ(planByTimePieces(86400, 600).size(), 144u);
}

TEST(PlanByCount, EqualPiecesCoverTheWholeSource) {
  EXPECT_EQ(bounds(planByCountPieces(100, 3)), (Bounds{{0, 33}, {33, 67}, {67, 100}}));
  EXPECT_EQ(bounds(planByCountPieces(125, 6)),
            (Bounds{{0, 21}, {21, 42}, {42, 63}, {63, 83}, {83, 104}, {104, 125}}));
}

TEST(PlanByCount, MorePiecesThanSecondsPlansNoEmptyPiece) {
  const auto rows = planByCountPieces(3, 10);
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows.front().begin, 0);
  EXPECT_EQ(rows.back().end, 3);
  for (const Segment& row : rows) EXPECT_GT(row.end, row.begin);
  EXPECT_EQ(bounds(planByCountPieces(0, 4)), (Bounds{{0, 0}}));
  EXPECT_EQ(bounds(planByCountPieces(10, 0)), (Bounds{{0, 10}})) << "N below 1 counts as 1";
}

TEST(PlanMarkedRanges, TheLastRangeIsPending) {
  const auto rows = planMarkedRanges(marked(100, {10, 30, 0}, {20, 40, 100}));
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].status, SegmentStatus::Confirmed);
  EXPECT_EQ(rows[1].status, SegmentStatus::Confirmed);
  EXPECT_EQ(rows[2].status, SegmentStatus::Pending);
}

TEST(TotalPlannedTime, CustomCountsConfirmedRangesOrTheWholePendingOne) {
  std::vector<SourceRecord> sources{marked(100, {10, 0}, {20, 100}), marked(50, {0}, {50})};
  EXPECT_EQ(totalPlannedSeconds(SplitFunction::Custom, sources), 10 + 50);
  EXPECT_EQ(totalPlannedSeconds(SplitFunction::EveryNSeconds, sources), 150);
  EXPECT_EQ(totalPlannedSeconds(SplitFunction::EqualPieces, sources), 150);
  EXPECT_EQ(totalPlannedSeconds(SplitFunction::Custom, {}), 0);
}

TEST(TotalPlannedTime, UnificationClipsSharedRangesToEachSource) {
  // Two sources of 100 and 50 s with shared ranges (10, 60) and (70, 90).
  std::vector<SourceRecord> sources{marked(100, {10, 70, 0}, {60, 90, 100}), marked(50, {0}, {50})};
  EXPECT_EQ(totalPlannedSeconds(SplitFunction::Unification, sources), 50 + 20 + 40);
  EXPECT_EQ(FormatTime(totalPlannedSeconds(SplitFunction::Unification, sources)), "00:01:50");
}

TEST(TotalPlannedTime, UnificationWithOnlyThePendingRangeCountsWhatIsCut) {
  std::vector<SourceRecord> sources{marked(100, {0}, {100}), marked(50, {0}, {50})};
  EXPECT_EQ(totalPlannedSeconds(SplitFunction::Unification, sources), 150);
  const auto ranges = unifiedRangesFor(sources[0], 50);
  ASSERT_EQ(ranges.size(), 1u);
  EXPECT_EQ(ranges[0].end, 50);
}

TEST(UnifiedRanges, RangesPastAShortSourceAreLeftOutInOrder) {
  const SourceRecord shared = marked(100, {70, 10, 0}, {90, 20, 100});
  const auto ranges = unifiedRangesFor(shared, 15);
  ASSERT_EQ(ranges.size(), 1u);
  EXPECT_EQ(ranges[0].begin, 10);
  EXPECT_EQ(ranges[0].end, 15);
}

}  // namespace
}  // namespace tarvex
