// Pauses found in generated programmes of known layout: edges within 10 ms,
// the threshold and minimum length honoured, the worker stoppable.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "sources/analysis/SilenceDetection.h"
#include "sources/analysis/SilenceSearch.h"
#include "sources/analysis/SoundSeconds.h"
#include "tests/support/ProgrammeAudio.h"
#include "tests/support/TempFolder.h"

namespace tarvex {
namespace {

using testing::AudioFormat;
using testing::Signal;
using testing::Stretch;

constexpr int kRate = 44100;
constexpr int64_t kTolerance = kRate / 100;  // 10 ms

SilenceResult scan(const QString& path, const SilenceSettings& settings = {}) {
  std::atomic<bool> stop{false};
  return findSoundRanges(path, settings, stop);
}

// tone 2 s | pause 2 s | tone 1.5 s | pause 0.5 s (too short) | tone 1 s | pause 2.5 s | tone 2 s
std::vector<Stretch> album(Signal pause, double pauseDb) {
  return {{Signal::Tone, 2.0}, {pause, 2.0, pauseDb}, {Signal::Tone, 1.5}, {pause, 0.5, pauseDb},
          {Signal::Tone, 1.0}, {pause, 2.5, pauseDb}, {Signal::Tone, 2.0}};
}

void expectNear(const std::vector<SampleSpan>& found, const std::vector<SampleSpan>& expected) {
  ASSERT_EQ(found.size(), expected.size());
  for (size_t i = 0; i < found.size(); ++i) {
    EXPECT_NEAR(found[i].first, expected[i].first, kTolerance) << "range " << i;
    EXPECT_NEAR(found[i].end, expected[i].end, kTolerance) << "range " << i;
  }
}

class SilenceDetection : public ::testing::TestWithParam<AudioFormat> {};

TEST_P(SilenceDetection, PausesSplitTheProgrammeWithinTenMilliseconds) {
  testing::TempFolder folder;
  const QString path = folder.path(GetParam() == AudioFormat::Mp3 ? "a.mp3" : "a.wav");
  const auto at = writeProgramme(path, album(Signal::Silence, 0), GetParam());
  const SilenceResult result = scan(path);
  EXPECT_EQ(result.sampleRate, kRate);
  // The half-second pause is shorter than the minimum: one range runs over it.
  expectNear(result.soundRanges, {{at[0], at[1]}, {at[2], at[5]}, {at[6], at[7]}});
  expectNear(result.pauses, {{at[1], at[2]}, {at[5], at[6]}});

  // A shorter minimum finds the short pause too.
  SilenceSettings shortPauses;
  shortPauses.minimumSilenceSeconds = 0.4;
  expectNear(scan(path, shortPauses).soundRanges,
             {{at[0], at[1]}, {at[2], at[3]}, {at[4], at[5]}, {at[6], at[7]}});
}

INSTANTIATE_TEST_SUITE_P(Formats, SilenceDetection,
                         ::testing::Values(AudioFormat::Wav, AudioFormat::Mp3));

TEST(SilenceThreshold, NoiseFloorsJustBelowAndAboveTheThreshold) {
  testing::TempFolder folder;
  // 3 dB under -40 dB: pauses; 3 dB over: none.
  const QString quiet = folder.path("quiet.mp3");
  const auto at = writeProgramme(quiet, album(Signal::Noise, -43.0), AudioFormat::Mp3);
  expectNear(scan(quiet).soundRanges, {{at[0], at[1]}, {at[2], at[5]}, {at[6], at[7]}});

  const QString hiss = folder.path("hiss.mp3");
  const auto hissAt = writeProgramme(hiss, album(Signal::Noise, -37.0), AudioFormat::Mp3);
  expectNear(scan(hiss).soundRanges, {{0, hissAt[7]}});

  // The threshold is a setting: at -30 dB the hiss counts as a pause.
  SilenceSettings loose;
  loose.thresholdDb = -30.0;
  expectNear(scan(hiss, loose).soundRanges,
             {{hissAt[0], hissAt[1]}, {hissAt[2], hissAt[5]}, {hissAt[6], hissAt[7]}});
}

TEST(SilenceThreshold, LeadingTrailingAndAllSilence) {
  testing::TempFolder folder;
  const QString path = folder.path("edges.wav");
  const auto at =
      writeProgramme(path, {{Signal::Silence, 1.5}, {Signal::Tone, 2.0}, {Signal::Silence, 1.2}},
                     AudioFormat::Wav, 22050, 1);
  const SilenceResult result = scan(path);
  ASSERT_EQ(result.soundRanges.size(), 1u);
  EXPECT_NEAR(result.soundRanges[0].first, at[1], 22050 / 100);
  EXPECT_NEAR(result.soundRanges[0].end, at[2], 22050 / 100);

  const QString silent = folder.path("silent.wav");
  writeProgramme(silent, {{Signal::Silence, 3.0}}, AudioFormat::Wav);
  EXPECT_TRUE(scan(silent).soundRanges.empty());

  // Fed straight: a one-channel-only signal is still sound.
  SilenceScanner scanner({}, 1000, 2);
  std::vector<float> values(2 * 3000, 0.0f);
  for (int frame = 1000; frame < 2000; ++frame) values[static_cast<size_t>(frame) * 2 + 1] = 0.5f;
  scanner.add(values.data(), 3000);
  const auto ranges = scanner.finish();
  ASSERT_EQ(ranges.size(), 1u);
  EXPECT_EQ(ranges[0], (SampleSpan{1000, 2000}));
}

TEST(SilenceSearchWorker, ReportsResultsFailuresAndStops) {
  testing::TempFolder folder;
  const QString path = folder.path("a.wav");
  writeProgramme(path, album(Signal::Silence, 0), AudioFormat::Wav);

  SilenceSearch search;
  QSignalSpy finished(&search, &SilenceSearch::finished);
  QSignalSpy failed(&search, &SilenceSearch::failed);
  search.start(path, {});
  ASSERT_TRUE(finished.wait(20000));
  const auto result = finished.at(0).at(1).value<SilenceResult>();
  EXPECT_EQ(result.soundRanges.size(), 3u);
  EXPECT_FALSE(search.isRunning());

  testing::writeText(folder.path("text.mp3"), QStringLiteral("not audio at all"));
  search.start(folder.path("text.mp3"), {});
  ASSERT_TRUE(failed.wait(20000));
  EXPECT_TRUE(failed.at(0).at(1).toString().contains(QStringLiteral("text.mp3")));

  // Stopped at once: nothing arrives afterwards.
  finished.clear();
  search.start(path, {});
  search.stop();
  QTest::qWait(300);
  EXPECT_EQ(finished.size(), 0);
  EXPECT_FALSE(search.isRunning());
}

TEST(SilenceMarks, SoundRangesRoundOutwardToWholeSecondsKeepingEveryPausesCut) {
  const int rate = 1000;
  const std::vector<SampleSpan> ranges = {{1500, 4200}, {5100, 5300}, {5900, 8000}, {9999, 12500}};
  // 1.5-4.2 s → 1-5; 5.1-5.3 → 5-6, meeting it at 5 (the pause 4.2-5.1 keeps
  // its cut); 5.9-8.0 → 5-8 overlaps, so both meet at 6, nearest the middle of
  // the pause 5.3-5.9; 9.999 lies within 10 ms of 10; the last ends at 12.
  EXPECT_EQ(outwardToWholeSeconds(ranges, rate, 12),
            (std::vector<Segment>{{1, 5}, {5, 6}, {6, 8}, {10, 12}}));
  // Edges a window past whole seconds (a 2 s pause detected at 2.005-3.995 s)
  // keep the pause whole; a range inside one second next to another is joined.
  EXPECT_EQ(outwardToWholeSeconds({{0, 2005}, {3995, 6000}}, rate, 6),
            (std::vector<Segment>{{0, 2}, {4, 6}}));
  EXPECT_EQ(outwardToWholeSeconds({{0, 2400}, {2600, 2900}}, rate, 6),
            (std::vector<Segment>{{0, 3}}));
  EXPECT_TRUE(outwardToWholeSeconds(ranges, 0, 12).empty());
}

}  // namespace
}  // namespace tarvex
