#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "tests/cli/CliProgram.h"
#include "tests/support/ExactCuts.h"
#include "tests/support/GeneratedAudio.h"
#include "tests/support/OutsideTool.h"
#include "tests/support/ProgrammeAudio.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TempFolder.h"

namespace tarvex::testing {
namespace {

class ExactCuts : public ::testing::TestWithParam<ExactCase> {
 protected:
  void SetUp() override {
    const ExactCase& exact = GetParam();
    source_ = media_.path("src.wav");
    OutputSettings wav;
    wav.format = AudioFormat::Wav;
    ASSERT_EQ(writeAudioFile(source_, Signal::Noise, exact.frames, exact.rate, 2, wav),
              exact.frames);
  }
  QString piece(int number, const char* extension) const {
    return out_.path(QStringLiteral("src_%1.%2").arg(number).arg(extension));
  }
  TempFolder media_;
  TempFolder out_;
  QString source_;
};

// WAV pieces are CD quality (44.1 kHz stereo): a source in that format keeps
// its samples exactly, another is converted at a whole ratio.
TEST_P(ExactCuts, WavPiecesHoldTheSourcesSamplesFromRoundTTimesRate) {
  const ExactCase& exact = GetParam();
  const CliRun run = runCli(
      QStringList{"split", source_, "--format", "wav", "-q", "-o", out_.path()} + exact.arguments);
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  const std::vector<int32_t> whole = ffmpegSamplesS32(source_);
  ASSERT_EQ(static_cast<int64_t>(whole.size()), exact.frames * 2);
  const int64_t ratio = 44100 / exact.rate;
  ASSERT_EQ(QDir(out_.path()).entryList(QDir::Files).size(),
            static_cast<qsizetype>(exact.firsts.size()));
  for (size_t index = 0; index < exact.firsts.size(); ++index) {
    SCOPED_TRACE(index);
    const int64_t first = exact.firstSample(index);
    const int64_t end = exact.endSample(index);
    const std::vector<int32_t> samples =
        ffmpegSamplesS32(piece(static_cast<int>(index) + 1, "wav"));
    ASSERT_EQ(static_cast<int64_t>(samples.size()), (end - first) * 2 * ratio);
    if (ratio == 1) {
      EXPECT_TRUE(std::equal(samples.begin(), samples.end(), whole.begin() + first * 2))
          << "the piece is not the source's samples from " << first;
    }
  }
}

TEST_P(ExactCuts, ReencodedMp3PiecesDecodeToTheExactCountsWithMpg123) {
  const ExactCase& exact = GetParam();
  const CliRun run = runCli(
      QStringList{"split", source_, "--format", "mp3", "-q", "-o", out_.path()} + exact.arguments);
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  for (size_t index = 0; index < exact.firsts.size(); ++index) {
    SCOPED_TRACE(index);
    EXPECT_EQ(mpg123Frames(piece(static_cast<int>(index) + 1, "mp3"), exact.rate),
              exact.endSample(index) - exact.firstSample(index));
  }
}

INSTANTIATE_TEST_SUITE_P(Sources, ExactCuts, ::testing::ValuesIn(exactCases()),
                         [](const auto& info) { return exactCaseName(info.param); });

class PlanCommands : public ::testing::Test {
 protected:
  TempFolder media_;
  TempFolder out_;
};

TEST_F(PlanCommands, DryRunPrintsExactSamplesAndWritesNothing) {
  const QString source = media_.path("talk.wav");
  ASSERT_EQ(writeToneFile(source, 11.3426, 44100, 1, AudioFormat::Wav), 500209);
  const QString folder = out_.path("not/yet");
  const CliRun run = runCli({"split", source, "--every", "7", "--dry-run", "--json", "-o", folder});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  const QJsonArray outputs = QJsonDocument::fromJson(run.out.toUtf8())["outputs"].toArray();
  ASSERT_EQ(outputs.size(), 2);
  EXPECT_EQ(outputs[1]["firstSample"].toInteger(), 308700);
  EXPECT_EQ(outputs[1]["endSample"].toInteger(), 500209);
  EXPECT_EQ(outputs[1]["track"].toString(), "2/2");
  EXPECT_TRUE(outputs[0]["output"].toString().endsWith("talk_1.mp3"));
  EXPECT_FALSE(QFileInfo::exists(folder)) << "a dry run makes no folder";

  // A real run makes the folder with its parents.
  const CliRun real =
      runCli({"split", source, "--pieces", "2", "--format", "wav", "-q", "-o", folder});
  ASSERT_EQ(real.exitCode, 0) << real.err.toStdString();
  EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 2);

  // Under a file no folder can be made.
  const CliRun blocked = runCli({"split", source, "--pieces", "2", "-o", source + "/inside"});
  EXPECT_EQ(blocked.exitCode, 1);
  EXPECT_TRUE(blocked.err.contains("Cannot write into") || blocked.err.contains("Cannot create"))
      << blocked.err.toStdString();
}

TEST_F(PlanCommands, CueSheetAndSilencesCutWhereTheWindowWould) {
  const QString source = media_.path("set.wav");
  writePausedProgramme(source);
  writeText(media_.path("set.cue"),
            "PERFORMER \"Band\"\nTITLE \"Album\"\nFILE \"set.wav\" WAVE\n"
            "TRACK 01 AUDIO\nTITLE \"One\"\nINDEX 01 00:00:00\n"
            "TRACK 02 AUDIO\nTITLE \"Two\"\nINDEX 01 00:03:41\n");
  const CliRun cue = runCli({"split", "--cue", source, "--dry-run", "--json", "-o", out_.path()});
  ASSERT_EQ(cue.exitCode, 0) << cue.err.toStdString();
  const QJsonArray tracks = QJsonDocument::fromJson(cue.out.toUtf8())["outputs"].toArray();
  ASSERT_EQ(tracks.size(), 2);
  EXPECT_EQ(tracks[1]["firstSample"].toInteger(), (3 * 75 + 41) * 588) << "the sheet's CD frame";
  EXPECT_EQ(tracks[1]["title"].toString(), "Two");

  const CliRun tagged = runCli({"split", "--cue", source, "-q", "-o", out_.path()});
  ASSERT_EQ(tagged.exitCode, 0) << tagged.err.toStdString();
  EXPECT_EQ(keyedValue(ffprobeTags(out_.path("set_1.mp3")), "title"), "One");
  EXPECT_EQ(keyedValue(ffprobeTags(out_.path("set_2.mp3")), "album"), "Album");

  const CliRun sounds = runCli({"split", "--silences", source, "--dry-run", "--json"});
  ASSERT_EQ(sounds.exitCode, 0) << sounds.err.toStdString();
  const QJsonArray pieces = QJsonDocument::fromJson(sounds.out.toUtf8())["outputs"].toArray();
  ASSERT_EQ(pieces.size(), 3);
  // The noise starts after 3.7137 s of tone and pause; found edges fall on
  // 5 ms windows, so within one window of it and never a whole second away.
  EXPECT_NEAR(pieces[1]["firstSample"].toDouble(), 3.7137 * 44100, 221);

  const CliRun noSheet = runCli({"split", "--cue", media_.path("none.wav"), "--dry-run"});
  EXPECT_EQ(noSheet.exitCode, 1);
}

}  // namespace
}  // namespace tarvex::testing
