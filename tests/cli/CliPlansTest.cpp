#include <gtest/gtest.h>

#include "cli/CliPlans.h"
#include "tests/support/TempFolder.h"

namespace tarvex::cli {
namespace {

using tarvex::testing::TempFolder;

// 10.5 s at 8 kHz, captioned from its title.
SourceFacts source(const QString& caption, int64_t frames = 84000, int64_t durationMs = 10500) {
  SourceFacts facts;
  facts.path = QStringLiteral("/music/") + caption + QStringLiteral(".mp3");
  facts.frames = frames;
  facts.durationMs = durationMs;
  facts.sampleRate = 8000;
  facts.channels = 1;
  facts.caption = caption;
  facts.tags.title = caption;
  facts.tags.artist = QStringLiteral("Band");
  return facts;
}

CliCommand splitCommand(SplitMode mode) {
  CliCommand command;
  command.action = Action::Split;
  command.mode = mode;
  return command;
}

QString folderOf(const TempFolder& folder) {
  return folder.path() + QLatin1Char('/');
}

TEST(CliPlans, EveryNSecondsCutsWholeSecondsAndTheLastPieceKeepsTheTail) {
  TempFolder out;
  CliCommand command = splitCommand(SplitMode::Every);
  command.everySeconds = 4;
  command.fadeInSeconds = 1;
  const SplitPlan plan = planSplit(command, {source("Dawn")}, EncoderProfile{}, folderOf(out));
  ASSERT_EQ(plan.pieces.size(), 3u);  // 0-4, 4-8, 8-10 and the half second after it
  EXPECT_EQ(plan.pieces[0].firstFrame, 0);
  EXPECT_EQ(plan.pieces[0].endFrame, 32000);
  EXPECT_EQ(plan.pieces[1].firstFrame, 32000);
  EXPECT_EQ(plan.pieces[2].endFrame, 84000);
  EXPECT_EQ(plan.pieces[2].outputPath, out.path("Dawn_3.mp3"));
  EXPECT_EQ(plan.pieces[1].tags.artist, "Band");
  EXPECT_EQ(plan.pieces[1].fadeInSeconds, 1);
  EXPECT_FALSE(plan.pieces[1].endsWithinShortTail);
}

TEST(CliPlans, PiecesSplitEvenlyAndSourcesFollowEachOther) {
  TempFolder out;
  CliCommand command = splitCommand(SplitMode::Pieces);
  command.pieceCount = 2;
  const SplitPlan plan = planSplit(command, {source("Dawn"), source("Dusk", 16000, 2000)},
                                   EncoderProfile{}, folderOf(out));
  ASSERT_EQ(plan.pieces.size(), 4u);
  EXPECT_EQ(plan.pieces[0].endFrame, 40000);  // 5 of 10 whole seconds
  EXPECT_EQ(plan.pieces[1].endFrame, 84000);
  EXPECT_EQ(plan.pieces[2].source, 1);
  EXPECT_EQ(plan.pieces[2].row, 0);
  EXPECT_EQ(plan.pieces[3].row, 1);
  EXPECT_EQ(plan.pieces[3].outputPath, out.path("Dusk_2.mp3"));
}

TEST(CliPlans, RangesPastTheEndAreLeftOutAndEndsAreLowered) {
  TempFolder out;
  CliCommand command = splitCommand(SplitMode::Ranges);
  command.ranges = {{2, 4}, {8, 30}, {12, 20}};
  const SplitPlan plan = planSplit(command, {source("Dawn")}, EncoderProfile{}, folderOf(out));
  ASSERT_EQ(plan.pieces.size(), 2u);
  EXPECT_EQ(plan.pieces[0].firstFrame, 16000);
  EXPECT_EQ(plan.pieces[0].endFrame, 32000);
  EXPECT_EQ(plan.pieces[1].firstFrame, 64000);
  EXPECT_EQ(plan.pieces[1].endFrame, 84000);  // lowered to the end, tail included
  EXPECT_TRUE(plan.pieces[1].endsWithinShortTail);
}

TEST(CliPlans, NamesSkipExistingFilesAndNamesPlannedForTheSameCaption) {
  TempFolder out;
  tarvex::testing::writeText(out.path("Dawn_2.wav"), "mine");
  CliCommand command = splitCommand(SplitMode::Pieces);
  command.pieceCount = 2;
  EncoderProfile wav;
  wav.formatIndex = kFormatWav;
  // Two sources with one caption share the numbering.
  const SplitPlan plan = planSplit(command, {source("Dawn"), source("Dawn")}, wav, folderOf(out));
  ASSERT_EQ(plan.pieces.size(), 4u);
  EXPECT_EQ(plan.pieces[0].outputPath, out.path("Dawn_1.wav"));
  EXPECT_EQ(plan.pieces[1].outputPath, out.path("Dawn_3.wav"));
  EXPECT_EQ(plan.pieces[2].outputPath, out.path("Dawn_4.wav"));
  EXPECT_EQ(plan.pieces[3].outputPath, out.path("Dawn_5.wav"));
  EXPECT_EQ(plan.pieces[0].fallbackPath, out.path("Dawn.wav"));
}

TEST(CliPlans, JoinTakesEverySourceWholeAtTheFirstSourcesFormat) {
  CliCommand command;
  command.action = Action::Join;
  command.fadeOutSeconds = 2;
  SourceFacts second = source("Dusk", 44100, 1000);
  second.sampleRate = 44100;
  second.channels = 2;
  const JoinPlan plan =
      planJoin(command, {source("Dawn"), second}, EncoderProfile{}, "/out/all.mp3");
  ASSERT_EQ(plan.parts.size(), 2u);
  EXPECT_TRUE(plan.parts[0].whole && plan.parts[1].whole);
  EXPECT_EQ(plan.parts[1].endFrame, 44100);
  EXPECT_EQ(plan.outputRate, 8000);
  EXPECT_EQ(plan.outputChannels, 1);
  EXPECT_EQ(plan.fadeOutSeconds, 2);
  EXPECT_EQ(plan.outputPath, "/out/all.mp3");
}

}  // namespace
}  // namespace tarvex::cli
