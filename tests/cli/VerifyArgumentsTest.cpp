#include <gtest/gtest.h>

#include "cli/CliArguments.h"
#include "cli/CliHelp.h"
#include "cli/UsageError.h"
#include "tests/cli/UsageErrorOf.h"
#include "tests/support/QtPrinters.h"

namespace tarvex::cli {
namespace {

TEST(VerifyArguments, ASplitsOwnArgumentsPlanItAndOutputsRunToTheNextOption) {
  const CliCommand command = parseCliArguments(
      {"verify", "split", "a.mp3", "--outputs", "p1.mp3", "p2.mp3", "--every", "7.5", "--json"});
  EXPECT_EQ(command.action, Action::Verify);
  EXPECT_EQ(command.verifiedJob, Action::Split);
  EXPECT_EQ(command.files, QStringList{"a.mp3"});
  EXPECT_EQ(command.verifyOutputs, (QStringList{"p1.mp3", "p2.mp3"}));
  EXPECT_EQ(command.mode, SplitMode::Every);
  EXPECT_DOUBLE_EQ(command.everySeconds, 7.5);
  EXPECT_TRUE(command.json);

  const CliCommand join = parseCliArguments({"verify", "join", "a.mp3", "b.mp3", "-o", "ab.mp3"});
  EXPECT_EQ(join.action, Action::Verify);
  EXPECT_EQ(join.verifiedJob, Action::Join);
  EXPECT_EQ(join.files, (QStringList{"a.mp3", "b.mp3"}));
  EXPECT_EQ(join.outputFile, QStringLiteral("ab.mp3"));
}

TEST(VerifyArguments, WhatCannotBeJudgedIsAUsageError) {
  EXPECT_NE(usageErrorOf({"verify"}), QString());
  EXPECT_NE(usageErrorOf({"verify", "probe", "a.mp3"}), QString());
  EXPECT_TRUE(usageErrorOf({"verify", "split", "a.mp3", "--every", "7"}).contains("--outputs"));
  EXPECT_TRUE(
      usageErrorOf({"verify", "split", "a.mp3", "--every", "7", "--dry-run", "--outputs", "p.mp3"})
          .contains("--dry-run"));
  EXPECT_TRUE(
      usageErrorOf({"verify", "split", "a.mp3", "--every", "7", "--verify", "--outputs", "p.mp3"})
          .contains("--verify"));
  EXPECT_NE(usageErrorOf({"verify", "join", "a.mp3", "--outputs", "x.mp3", "-o", "ab.mp3"}),
            QString());
  EXPECT_NE(usageErrorOf({"verify", "join", "a.mp3", "b.mp3"}), QString());
}

// Split and join judge what they wrote when asked; a dry run writes nothing
// to judge.
TEST(VerifyArguments, SplitAndJoinTakeVerifyButNotWithADryRun) {
  const CliCommand split =
      parseCliArguments({"split", "a.mp3", "--every", "7", "--fade-in", "2", "--verify"});
  EXPECT_EQ(split.action, Action::Split);
  EXPECT_TRUE(split.verifyAfter);
  EXPECT_TRUE(parseCliArguments({"join", "a.mp3", "b.mp3", "-o", "ab.mp3", "--verify", "--json"})
                  .verifyAfter);
  EXPECT_FALSE(parseCliArguments({"join", "a.mp3", "-o", "ab.mp3"}).verifyAfter);
  EXPECT_TRUE(usageErrorOf({"split", "a.mp3", "--every", "7", "--verify", "--dry-run"})
                  .contains("--dry-run"));
  EXPECT_TRUE(usageErrorOf({"join", "a.mp3", "-o", "ab.mp3", "--dry-run", "--verify"})
                  .contains("--verify"));
  // Outputs made with fades are judged too.
  const CliCommand faded = parseCliArguments(
      {"verify", "split", "a.mp3", "--every", "7", "--fade-out", "3", "--outputs", "p.mp3"});
  EXPECT_EQ(faded.fadeOutSeconds, 3);
  EXPECT_TRUE(helpText(QStringLiteral("split")).contains("--verify"));
  EXPECT_TRUE(helpText(QStringLiteral("join")).contains("--verify"));
}

TEST(VerifyArguments, HelpNamesTheCommand) {
  const CliCommand command = parseCliArguments({"verify", "split", "--help"});
  EXPECT_EQ(command.action, Action::Help);
  EXPECT_TRUE(helpText(command.helpTopic).contains("--outputs"));
  EXPECT_TRUE(helpText({}).contains("verify"));
}

}  // namespace
}  // namespace tarvex::cli
