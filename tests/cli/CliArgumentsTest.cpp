#include <gtest/gtest.h>

#include "cli/CliArguments.h"
#include "cli/CliHelp.h"
#include "cli/TimeRanges.h"
#include "cli/UsageError.h"
#include "tests/cli/UsageErrorOf.h"
#include "tests/support/QtPrinters.h"

namespace tarvex::cli {
namespace {

CliCommand parse(const QStringList& arguments) {
  return parseCliArguments(arguments);
}

TEST(CliArguments, SplitTakesFilesModeOutputFormatFadesAndEncoderFlags) {
  const CliCommand command = parse({"split",
                                    "a.mp3",
                                    "--every",
                                    "30",
                                    "b.wav",
                                    "--output=out",
                                    "--format",
                                    "OGG",
                                    "--fade-in",
                                    "2",
                                    "--fade-out=3",
                                    "--bitrate",
                                    "192",
                                    "--vbr-quality",
                                    "2",
                                    "--preset",
                                    "fm",
                                    "--lame",
                                    "-q 2 --abr 160",
                                    "--settings",
                                    "my.ini",
                                    "--quiet"});
  EXPECT_EQ(command.action, Action::Split);
  EXPECT_EQ(command.files, QStringList({"a.mp3", "b.wav"}));
  EXPECT_EQ(command.mode, SplitMode::Every);
  EXPECT_EQ(command.everySeconds, 30);
  EXPECT_EQ(command.outputFolder, "out");
  EXPECT_EQ(command.formatIndex, kFormatOgg);
  EXPECT_EQ(command.fadeInSeconds, 2);
  EXPECT_EQ(command.fadeOutSeconds, 3);
  EXPECT_EQ(command.encoder.bitrateKbps, 192);
  EXPECT_EQ(command.encoder.vbrQuality, 2);
  EXPECT_EQ(command.encoder.presetNumber, 4);  // Phone, SW, AM, FM
  EXPECT_EQ(command.encoder.lameCommandLine, QString("-q 2 --abr 160"));
  EXPECT_EQ(command.encoder.settingsFile, "my.ini");
  EXPECT_TRUE(command.quiet);
}

TEST(CliArguments, SplitModesPiecesAndRanges) {
  const CliCommand pieces = parse({"split", "a.mp3", "--pieces", "4"});
  EXPECT_EQ(pieces.mode, SplitMode::Pieces);
  EXPECT_EQ(pieces.pieceCount, 4);

  const CliCommand ranges =
      parse({"split", "a.mp3", "--ranges", "0:30-1:15,2:00.25-2:30,1:00:00-1:00:05.5"});
  EXPECT_EQ(ranges.mode, SplitMode::Ranges);
  const std::vector<double> expected{30, 75, 120.25, 150, 3600, 3605.5};
  EXPECT_EQ(ranges.rangeTimes, expected);
}

TEST(CliArguments, CueSilencesAndDryRun) {
  const CliCommand beside = parse({"split", "a.mp3", "--cue"});
  EXPECT_EQ(beside.mode, SplitMode::Cue);
  EXPECT_TRUE(beside.cueSheet.isEmpty());
  EXPECT_EQ(parse({"split", "--cue", "disc.CUE", "a.mp3"}).cueSheet, "disc.CUE");
  const CliCommand named = parse({"split", "--cue=d.cue", "a.mp3", "--dry-run", "--json"});
  EXPECT_EQ(named.cueSheet, "d.cue");
  EXPECT_EQ(named.files, QStringList{"a.mp3"});
  EXPECT_TRUE(named.dryRun && named.json);

  const CliCommand pauses =
      parse({"split", "a.mp3", "--silences", "--threshold", "-50", "--min-silence", "700"});
  EXPECT_EQ(pauses.mode, SplitMode::Silences);
  EXPECT_EQ(pauses.thresholdDb, -50);
  EXPECT_EQ(pauses.minSilenceMs, 700);

  EXPECT_DOUBLE_EQ(parse({"split", "a.mp3", "--every", "1:02.5"}).everySeconds, 62.5);
  EXPECT_TRUE(usageErrorOf({"split", "a.mp3", "--every", "0.5"}).contains("at least 1 second"));
  EXPECT_TRUE(usageErrorOf({"split", "a.mp3", "--cue", "--every", "3"}).contains("one of"));
  EXPECT_TRUE(usageErrorOf({"split", "a.mp3", "--pieces", "10001"}).contains("10000"));

  // Chapters and label files are modes of their own.
  EXPECT_EQ(parse({"split", "a.mp3", "--chapters"}).mode, SplitMode::Chapters);
  const CliCommand labelled = parse({"split", "a.mp3", "--labels", "marks.txt"});
  EXPECT_EQ(labelled.mode, SplitMode::Labels);
  EXPECT_EQ(labelled.labelFile, "marks.txt");
  EXPECT_EQ(labelled.files, QStringList{"a.mp3"});
  EXPECT_TRUE(
      usageErrorOf({"split", "a.mp3", "--chapters", "--labels", "m.txt"}).contains("one of"));
  EXPECT_FALSE(usageErrorOf({"split", "a.mp3", "--labels"}).isEmpty()) << "the file is needed";
}

TEST(CliArguments, JoinNeedsAnOutputAndTakesItWithDashO) {
  const CliCommand join = parse({"join", "a.mp3", "b.mp3", "-o", "all.mp3", "--fade-out", "1"});
  EXPECT_EQ(join.action, Action::Join);
  EXPECT_EQ(join.files, QStringList({"a.mp3", "b.mp3"}));
  EXPECT_EQ(join.outputFile, "all.mp3");
  EXPECT_EQ(join.fadeOutSeconds, 1);
  EXPECT_NE(usageErrorOf({"join", "a.mp3"}), "");
}

TEST(CliArguments, ProbeAndTags) {
  const CliCommand probe = parse({"probe", "a.mp3", "b.ogg", "--json"});
  EXPECT_EQ(probe.action, Action::Probe);
  EXPECT_TRUE(probe.json);
  EXPECT_EQ(probe.files.size(), 2);

  const CliCommand show = parse({"tags", "a.mp3"});
  EXPECT_FALSE(show.tagChanges.any());
  const CliCommand set = parse({"tags", "a.mp3", "--title", "Dawn", "--comment="});
  EXPECT_EQ(set.tagChanges.title, QString("Dawn"));
  EXPECT_EQ(set.tagChanges.comment, QString(""));  // an empty text removes the field
  EXPECT_FALSE(set.tagChanges.artist.has_value());
}

TEST(CliArguments, DoubleDashEndsTheOptions) {
  const CliCommand command = parse({"probe", "--", "--json", "-odd.mp3"});
  EXPECT_FALSE(command.json);
  EXPECT_EQ(command.files, QStringList({"--json", "-odd.mp3"}));
}

TEST(CliArguments, HelpAndVersionWinOverEverythingElse) {
  EXPECT_EQ(parse({"--version"}).action, Action::Version);
  EXPECT_EQ(parse({"--help"}).action, Action::Help);
  const CliCommand splitHelp = parse({"split", "--bogus", "--help"});
  EXPECT_EQ(splitHelp.action, Action::Help);
  EXPECT_EQ(splitHelp.helpTopic, "split");
  EXPECT_EQ(parse({"help", "join"}).helpTopic, "join");
  for (const char* topic : {"split", "join", "probe", "tags"}) {
    EXPECT_TRUE(helpText(topic).startsWith(QStringLiteral("Usage: tarvex-cli %1").arg(topic)))
        << topic;
  }
}

TEST(CliArguments, BadUsageIsNamedInTheMessage) {
  EXPECT_TRUE(usageErrorOf({}).contains("no command"));
  EXPECT_TRUE(usageErrorOf({"slice", "a.mp3"}).contains("\"slice\""));
  EXPECT_TRUE(usageErrorOf({"split", "a.mp3"}).contains("--every"));
  EXPECT_TRUE(usageErrorOf({"split", "a.mp3", "--every", "3", "--pieces", "2"}).contains("one of"));
  EXPECT_TRUE(usageErrorOf({"split", "--every", "3"}).contains("at least one file"));
  EXPECT_TRUE(usageErrorOf({"split", "a.mp3", "--every", "0"}).contains("--every"));
  EXPECT_TRUE(usageErrorOf({"split", "a.mp3", "--every", "ten"}).contains("\"ten\""));
  EXPECT_TRUE(usageErrorOf({"split", "a.mp3", "--every"}).contains("needs a value"));
  EXPECT_TRUE(
      usageErrorOf({"split", "a.mp3", "--every", "5", "--format", "flac"}).contains("flac"));
  EXPECT_TRUE(usageErrorOf({"split", "a.mp3", "--every", "5", "--bitrate", "100"}).contains("100"));
  EXPECT_TRUE(
      usageErrorOf({"split", "a.mp3", "--every", "5", "--preset", "loud"}).contains("loud"));
  EXPECT_TRUE(
      usageErrorOf({"split", "a.mp3", "--every", "5", "--vbr-quality", "10"}).contains("0 to 9"));
  EXPECT_TRUE(usageErrorOf({"split", "a.mp3", "--every", "5", "--quiet=yes"}).contains("no value"));
  EXPECT_TRUE(usageErrorOf({"split", "a.mp3", "--ranges", "1:00-0:30"}).contains("1:00-0:30"));
  EXPECT_TRUE(usageErrorOf({"split", "a.mp3", "--ranges", "0:30"}).contains("\"0:30\""));
  EXPECT_TRUE(usageErrorOf({"probe", "a.mp3", "--title", "x"}).contains("--title"));
  EXPECT_TRUE(usageErrorOf({"tags", "a.mp3", "b.mp3"}).contains("exactly one"));
  EXPECT_TRUE(usageErrorOf({"join", "a.mp3", "-o", "x.mp3", "--every", "3"}).contains("--every"));
}

TEST(TimeRanges, TimesAreSecondsMinutesOrHoursWithAFraction) {
  EXPECT_EQ(parseTime("0"), 0);
  EXPECT_EQ(parseTime("95"), 95);
  EXPECT_EQ(parseTime("1:15"), 75);
  EXPECT_EQ(parseTime("2:03:04"), 7384);
  EXPECT_DOUBLE_EQ(parseTime("7.777"), 7.777);
  EXPECT_DOUBLE_EQ(parseTime("1:02.5"), 62.5);
  EXPECT_DOUBLE_EQ(parseTime("1:00:00.000001"), 3600.000001);
  for (const char* bad : {"", "1:60", "1:5", "-3", "1.", ".5x", "1.5.2", "1:2.5", "a:00",
                          "1:00:00:00", "99999999999", "1e3", "1.-5"}) {
    EXPECT_THROW(parseTime(bad), UsageError) << bad;
  }
}

}  // namespace
}  // namespace tarvex::cli
