#include <gtest/gtest.h>

#include <QDir>
#include <atomic>

#include "cli/CliArguments.h"
#include "cli/CommandSources.h"
#include "platform/Error.h"
#include "processing/JobPlanning.h"
#include "sources/MarkingRules.h"
#include "sources/SampleSpan.h"
#include "sources/SourceProbe.h"
#include "sources/analysis/SilenceMarks.h"
#include "sources/cue/CueMarks.h"
#include "tests/support/ProgrammeAudio.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TempFolder.h"

namespace tarvex::cli {
namespace {

using testing::AudioFormat;
using testing::Signal;
using testing::Stretch;
using testing::TempFolder;

// Two programmes of sound and pauses whose lengths are not whole
// milliseconds, the first with a CUE sheet beside it.
class Programmes {
 public:
  Programmes() {
    testing::writePausedProgramme(first);
    testing::writeProgramme(second,
                            {{Signal::Noise, 4.0071}, {Signal::Silence, 1.5}, {Signal::Tone, 2.6}},
                            AudioFormat::Wav, 11025, 1);
    testing::writeText(folder.path("first.cue"),
                       "PERFORMER \"Band\"\nTITLE \"Album\"\nFILE \"first.wav\" WAVE\n"
                       "TRACK 01 AUDIO\nTITLE \"One\"\nINDEX 01 00:00:00\n"
                       "TRACK 02 AUDIO\nTITLE \"Two\"\nPERFORMER \"Guest\"\nINDEX 01 00:03:41\n"
                       "TRACK 03 AUDIO\nTITLE \"Three\"\nINDEX 01 00:07:68\n");
  }
  TempFolder folder;
  QString first = folder.path("first.wav");
  QString second = folder.path("second.wav");
};

// A choice as the window makes it: the function and its values, and what the
// user does to the source records before pressing Split.
struct Choice {
  const char* name;
  QStringList arguments;  // after "split" and the files
  SplitFunction function;
  std::function<void(std::vector<SourceRecord>&)> markInWindow;
};

void markByHand(std::vector<SourceRecord>& records, SplitFunction function,
                std::vector<std::pair<int, int>> ranges) {
  SourceRecords list;
  for (SourceRecord& record : records) list.add(record);
  MarkingRules rules(list);
  for (const auto& [begin, end] : ranges) {
    rules.markBegin(function, 0, begin);
    rules.markEnd(function, 0, end);
    rules.confirm(function, 0);
  }
  records = list.all();
}

void markSounds(std::vector<SourceRecord>& records) {
  for (SourceRecord& record : records) {
    const std::atomic<bool> stop{false};
    const SilenceResult found = findSoundRanges(record.path, SilenceSettings{}, stop);
    record.replaceMarks(silenceMarks(record, found));
  }
}

std::vector<Choice> choices() {
  return {
      {"every", {"--every", "3", "--fade-in", "1"}, SplitFunction::EveryNSeconds, {}},
      {"pieces", {"--pieces", "3", "--fade-out", "2"}, SplitFunction::EqualPieces, {}},
      {"ranges",
       {"--ranges", "1-4,0:06-0:11"},
       SplitFunction::Unification,
       [](std::vector<SourceRecord>& records) {
         markByHand(records, SplitFunction::Unification, {{1, 4}, {6, 11}});
       }},
      {"cue",
       {"--cue"},
       SplitFunction::Custom,
       [](std::vector<SourceRecord>& records) { markFromSheetFor(records.front(), {}); }},
      {"silences", {"--silences"}, SplitFunction::Custom, markSounds},
  };
}

class SamePlanBothWays : public ::testing::TestWithParam<Choice> {
 protected:
  Programmes media;
  TempFolder out;
};

TEST_P(SamePlanBothWays, ArgumentsAndTheWindowsSnapshotPlanTheSamePieces) {
  const Choice& choice = GetParam();
  const bool cue = choice.arguments.contains("--cue");
  const QStringList files = cue ? QStringList{media.first} : QStringList{media.first, media.second};
  const QString folder = QDir::toNativeSeparators(out.path()) + QDir::separator();
  const EncoderProfile profile;

  const CliCommand command = parseCliArguments(QStringList{"split"} + files + choice.arguments);
  QStringList failures;
  const SplitPlan typed =
      planSplit(commandSources(command, failures), jobSettingsOf(command, folder), profile);
  ASSERT_TRUE(failures.isEmpty()) << failures.join('\n').toStdString();

  std::vector<SourceRecord> records;
  for (const QString& file : files) records.push_back(probeSource(file, false).record);
  if (choice.markInWindow) choice.markInWindow(records);
  JobSettings window;
  window.function = choice.function;
  window.outputDir = folder;
  window.pieceSeconds = 3;
  window.pieceCount = 3;
  window.fadeIn = command.fadeInSeconds > 0;
  window.fadeInSeconds = command.fadeInSeconds;
  window.fadeOut = command.fadeOutSeconds > 0;
  window.fadeOutSeconds = command.fadeOutSeconds;
  const SplitPlan shown = planSplit(records, window, profile);

  ASSERT_EQ(typed.pieces.size(), shown.pieces.size());
  ASSERT_GE(typed.pieces.size(), 3u);
  for (size_t index = 0; index < typed.pieces.size(); ++index) {
    const PiecePlan& a = typed.pieces[index];
    const PiecePlan& b = shown.pieces[index];
    SCOPED_TRACE(index);
    EXPECT_EQ(a.outputPath, b.outputPath);
    EXPECT_EQ(a.source, b.source);
    EXPECT_EQ(a.row, b.row);
    EXPECT_EQ(a.firstFrame, b.firstFrame);
    EXPECT_EQ(a.endFrame, b.endFrame);
    EXPECT_EQ(a.tags.title, b.tags.title);
    EXPECT_EQ(a.tags.artist, b.tags.artist);
    EXPECT_EQ(a.tags.album, b.tags.album);
    EXPECT_EQ(a.tags.track, b.tags.track);
    EXPECT_EQ(a.fadeInSeconds, b.fadeInSeconds);
    EXPECT_EQ(a.fadeOutSeconds, b.fadeOutSeconds);
    EXPECT_EQ(a.endsWithinShortTail, b.endsWithinShortTail);
  }
  EXPECT_EQ(typed.rows.size(), shown.rows.size());
}

INSTANTIATE_TEST_SUITE_P(Choices, SamePlanBothWays, ::testing::ValuesIn(choices()),
                         [](const auto& info) { return std::string(info.param.name); });

// Record of `frames` frames at `rate` with nothing marked.
SourceRecord recordOf(int64_t frames, int rate) {
  SourceRecord record;
  record.path = QStringLiteral("/music/a.wav");
  record.caption = QStringLiteral("a");
  record.frames = frames;
  record.sampleRate = rate;
  record.channels = 1;
  record.durationMs = (frames * 1000 + rate / 2) / rate;
  record.lengthSeconds = static_cast<int>(record.durationMs / 1000);
  record.resetRanges();
  return record;
}

TEST(SampleExactPlans, ATimeIsTheSampleNearestItWhateverTheLengthInMilliseconds) {
  // 11.3426 s: a length that is no whole number of milliseconds.
  const std::vector<SourceRecord> sources{recordOf(500208, 44100)};
  JobSettings settings;
  settings.function = SplitFunction::EveryNSeconds;
  settings.pieceSeconds = 7;
  SplitPlan plan = planSplit(sources, settings, EncoderProfile{});
  ASSERT_EQ(plan.pieces.size(), 2u);
  EXPECT_EQ(plan.pieces[0].endFrame, 308700);
  EXPECT_EQ(plan.pieces[1].firstFrame, 308700);
  EXPECT_EQ(plan.pieces[1].endFrame, 500208);

  const CliCommand command =
      parseCliArguments({"split", "a.wav", "--ranges", "0:01-0:04,7.777-99"});
  std::vector<SourceRecord> marked = sources;
  marked[0].replaceMarks(marksAtTimes(command.rangeTimes, marked[0]));
  plan = planSplit(marked, jobSettingsOf(command, {}), EncoderProfile{});
  ASSERT_EQ(plan.pieces.size(), 2u);
  EXPECT_EQ(plan.pieces[0].endFrame - plan.pieces[0].firstFrame, 132300);
  EXPECT_EQ(plan.pieces[1].firstFrame, 342966) << "round(7.777 × 44100) = round(342965.7)";
  EXPECT_EQ(plan.pieces[1].endFrame, 500208) << "an end past the source is its end";
  EXPECT_EQ(marked[0].ranges[1].begin, 7) << "the list shows the second the begin lies in";
  EXPECT_EQ(marked[0].ranges[1].end, 11);

  // A time a hair below a whole second is that second's sample; the list
  // shows the second it lies in, so the exact edge is still the one cut.
  const MarkedRange nearSecond = markAtTimes(9.99999, 10.5, sources[0]);
  EXPECT_EQ(nearSecond.begin, 10);
  const SampleSpan span = markedSpan(nearSecond, sources[0], sources[0]);
  EXPECT_EQ(span.first, 441000);
  EXPECT_EQ(span.end, 463050);
}

TEST(SampleExactPlans, AnAbsurdNumberOfPiecesIsRefusedBeforeAnythingIsPlanned) {
  // A damaged header can claim thousands of hours.
  const std::vector<SourceRecord> sources{recordOf(int64_t{2} * 1000 * 1000 * 1000 * 1000, 44100)};
  JobSettings settings;
  settings.function = SplitFunction::EveryNSeconds;
  settings.pieceSeconds = 2;
  try {
    planSplit(sources, settings, EncoderProfile{});
    FAIL() << "planned";
  } catch (const Error& error) {
    EXPECT_TRUE(error.message().contains("more than 10000 pieces"))
        << error.message().toStdString();
    EXPECT_TRUE(error.message().contains("/music/a.wav"));
  }
  settings.function = SplitFunction::EqualPieces;
  settings.pieceCount = kMostPiecesPerJob;
  EXPECT_EQ(planSplit(sources, settings, EncoderProfile{}).pieces.size(),
            static_cast<size_t>(kMostPiecesPerJob))
      << "the limit itself is allowed";
  EXPECT_LE(planByTimePieces(INT32_MAX, 1).size(), static_cast<size_t>(kMostPiecesPerJob) + 1);
}

}  // namespace
}  // namespace tarvex::cli
