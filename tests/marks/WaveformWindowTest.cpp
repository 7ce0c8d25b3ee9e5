// The waveform along the position bar: built for the selected source, shaded
// with its marks, following the play position; a skin without it is unchanged.
#include <gtest/gtest.h>

#include <QTest>
#include <algorithm>

#include "app/WaveformView.h"
#include "components/skin/BuiltInSkin.h"
#include "components/skin/SkinObject.h"
#include "components/skin/SkinWidget.h"
#include "tests/support/GeneratedAudio.h"
#include "tests/support/window/MainWindowHarness.h"
#include "tests/support/window/SourceFiles.h"

namespace tarvex {
namespace {

using testing::MainWindowHarness;

float loudest(const skin::SkinObject& wave) {
  const std::vector<float>& high = wave.waveHigh();
  return high.empty() ? -1.0f : *std::max_element(high.begin(), high.end());
}

TEST(WaveformWindow, TheSelectedSourceIsDrawnShadedAndFollowedByThePlayPosition) {
  MainWindowHarness harness;
  harness.show();
  skin::SkinObject* wave = harness.window().Skin1().findObject("wave");
  ASSERT_NE(wave, nullptr);
  WaveformView& view = harness.window().waveformView();
  const QString tone = testing::makeMp3Source(harness.mediaPath("tone.mp3"), 6.0);
  const QString quiet = harness.mediaPath("quiet.wav");
  testing::writeSilenceFile(quiet, 3.0, 22050, 1, testing::AudioFormat::Wav);
  harness.addFiles({tone, quiet});

  ASSERT_TRUE(QTest::qWaitFor([&] { return view.exactShown(); }, 20000));
  EXPECT_EQ(view.shownPath(), tone);
  EXPECT_EQ(wave->waveHigh().size(), static_cast<size_t>(wave->rect().width()));
  EXPECT_NEAR(loudest(*wave), 0.5f, 0.05f) << "the tone's amplitude";
  EXPECT_TRUE(wave->waveSpans().empty()) << "a lone pending range marks nothing";

  // Marks are shaded as they change.
  harness.window().sources().at(0).replaceMarks(
      {{0, 3, RangeState::Confirmed}, {4, 6, RangeState::Confirmed}});
  ASSERT_TRUE(QTest::qWaitFor([&] { return wave->waveSpans().size() == 2; }, 5000));
  EXPECT_DOUBLE_EQ(wave->waveSpans()[0].end, 0.5);
  EXPECT_DOUBLE_EQ(wave->waveSpans()[1].begin, 4.0 / 6.0);

  // Another source: its own picture, none of the old one shown meanwhile.
  harness.clickSourceRow(1);
  view.follow();
  EXPECT_EQ(view.shownPath(), quiet);
  EXPECT_TRUE(wave->waveSpans().empty());
  ASSERT_TRUE(QTest::qWaitFor([&] { return view.exactShown(); }, 20000));
  EXPECT_LT(loudest(*wave), 0.01f);

  // Back again: the session's cache shows the exact picture at once.
  harness.clickSourceRow(0);
  view.follow();
  EXPECT_TRUE(view.exactShown());
  EXPECT_NEAR(loudest(*wave), 0.5f, 0.05f);

  // Playing moves the cursor along.
  harness.clickSkin("play");
  ASSERT_TRUE(harness.player().IsPlaying());
  EXPECT_TRUE(QTest::qWaitFor([&] { return wave->waveCursor() > 0.1; }, 10000));
  harness.clickSkin("Stop");
}

TEST(WaveformWindow, ASkinWithoutAWaveformWorksAsBefore) {
  MainWindowHarness harness;
  QString skin = skin::builtInSkinText();
  const qsizetype line = skin.indexOf("waveform wave");
  ASSERT_GE(line, 0);
  skin.remove(line, skin.indexOf('\n', line) - line);
  testing::writeText(harness.folder().path("program/mp3enc.dll"), skin);
  harness.show();
  EXPECT_EQ(harness.window().Skin1().findObject("wave"), nullptr);
  EXPECT_TRUE(harness.platform().errors.isEmpty())
      << harness.platform().errors.join("").toStdString();
  harness.addFiles({testing::makeMp3Source(harness.mediaPath("tone.mp3"), 2.0)});
  harness.window().waveformView().follow();
  EXPECT_TRUE(harness.window().waveformView().shownPath().isEmpty()) << "nothing is built";
  EXPECT_EQ(harness.segmentRows().size(), 1);
}

}  // namespace
}  // namespace tarvex
