// The optional waveform object: parsed with its style colours, drawn with
// peaks, shaded marks and the play position; skins without it work as before.
#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include "components/skin/SkinError.h"
#include "components/skin/SkinParser.h"
#include "components/skin/SkinWidget.h"
#include "tests/skin/SkinTestSupport.h"

namespace tarvex::skin {
namespace {

const char* const kWaveSkin = R"(tarvex-skin 1
color peak #00ff00
style wave
  fill #000000
  wave @peak
  wave-marked #ff000080
  wave-cursor #0000ff
end
layout Small 120 60
  waveform w 10 10 100 40 style=wave
  waveform plain 0 55 120 5
end
)";

TEST(SkinWaveform, ParsesTheObjectAndItsStyleColours) {
  const SkinDocument document = parseSkinText(QString::fromUtf8(kWaveSkin));
  const SkinObjectSpec* wave = document.findLayout(QStringLiteral("Small"))->find("w");
  ASSERT_NE(wave, nullptr);
  EXPECT_EQ(wave->kind, SkinObjectKind::Waveform);
  EXPECT_EQ(wave->rect, QRect(10, 10, 100, 40));
  EXPECT_EQ(wave->style.waveColor, QColor(0, 255, 0));
  EXPECT_EQ(wave->style.waveMarkedColor, QColor(255, 0, 0, 128));
  EXPECT_EQ(wave->style.waveCursorColor, QColor(0, 0, 255));
  // Unstyled: the engine's own colours.
  EXPECT_TRUE(
      document.findLayout(QStringLiteral("Small"))->find("plain")->style.waveColor.isValid());
}

TEST(SkinWaveform, FaultsNameTheLine) {
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"tarvex-skin 1\nlayout L 10 10\n  waveform w 0 0 10 10 label=x\nend\n",
       "line 3: a waveform has no attribute \"label\""},
      {"tarvex-skin 1\nstyle s\n  wave #12\nend\n", "line 3"},
      {"tarvex-skin 1\nstyle s\n  wave-marked\nend\n", "line 3"},
      {"tarvex-skin 1\nstyle s\n  hover.wave #ffffff\nend\n", "line 3"},
      {"tarvex-skin 1\nlayout L 10 10\n  wavefrom w 0 0 10 10\nend\n", "image or waveform"},
  };
  for (const auto& c : cases) {
    try {
      parseSkinText(QString::fromUtf8(c.text));
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const SkinError& error) {
      EXPECT_TRUE(QString::fromStdString(error.what()).contains(QString::fromUtf8(c.expected)))
          << c.text << " -> " << error.what();
    }
  }
}

TEST(SkinWaveform, DrawsPeaksMarkedSpansAndThePlayPosition) {
  QTemporaryDir folder;
  SkinWidget skin;
  const QString problem =
      skin.loadSkinFile(testing::writeSkinFile(folder, "wave.skin", QByteArray(kWaveSkin)));
  ASSERT_TRUE(problem.isEmpty()) << problem.toStdString();
  skin.selectLayout(QStringLiteral("Small"));
  SkinObject* wave = skin.findObject(QStringLiteral("w"));
  ASSERT_NE(wave, nullptr);
  // Loud first half, silent second half; the right quarter marked; cursor at 10%.
  std::vector<float> low(50), high(50);
  for (int i = 0; i < 25; ++i) {
    low[static_cast<size_t>(i)] = -0.9f;
    high[static_cast<size_t>(i)] = 0.9f;
  }
  wave->setWaveform(low, high);
  wave->setWaveSpans({{0.75, 1.0}});
  wave->setWaveCursor(0.1);
  skin.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&skin));
  const QImage image = skin.grab().toImage();
  const auto at = [&image](int x, int y) { return image.pixelColor(x, y); };
  EXPECT_GT(at(40, 14).green(), 200) << "a loud column reaches near the top";
  EXPECT_LT(at(40, 14).red(), 60);
  EXPECT_LT(at(80, 14).green(), 60) << "a silent column stays dark away from the middle";
  EXPECT_GT(at(100, 14).red(), 90) << "the marked quarter is shaded";
  EXPECT_GT(at(20, 40).blue(), 200) << "the play position line";
  const QColor insideSpan = at(100, 14);

  // Two touching spans: their shared edge is drawn, so the cut shows.
  wave->setWaveSpans({{0.5, 0.75}, {0.75, 1.0}});
  const QImage cut = skin.grab().toImage();
  const int edge = wave->rect().left() + wave->rect().width() * 3 / 4;
  EXPECT_NE(cut.pixelColor(edge, 14), insideSpan) << "the boundary between touching spans";
  EXPECT_EQ(cut.pixelColor(100, 14), insideSpan);
  testing::saveSnapshotIfAsked(skin, QStringLiteral("skin-waveform"));
}

TEST(SkinWaveform, MarksAndTheirEdgesShowOverAFullScaleSignal) {
  // A loud album: every column's peaks fill the whole height of the object.
  SkinWidget skin;
  skin.selectLayout(QStringLiteral("Plaskett"));
  SkinObject* wave = skin.findObject(QStringLiteral("wave"));
  ASSERT_NE(wave, nullptr);
  const size_t width = static_cast<size_t>(wave->rect().width());
  wave->setWaveform(std::vector<float>(width, -1.0f), std::vector<float>(width, 1.0f));
  // Two touching tracks in the middle of the file.
  wave->setWaveSpans({{0.25, 0.5}, {0.5, 0.75}});
  skin.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&skin));
  const QImage image = skin.grab().toImage();
  const QRect area = wave->rect();
  const auto column = [&](double fraction) {
    return area.left() + static_cast<int>(fraction * area.width());
  };
  for (const int y : {area.top() + 3, area.center().y(), area.bottom() - 3}) {
    const QColor outside = image.pixelColor(column(0.1), y);
    const QColor inside = image.pixelColor(column(0.4), y);
    EXPECT_NE(inside, outside) << "the shading at row " << y;
    EXPECT_NE(image.pixelColor(column(0.5), y), inside) << "the boundary at row " << y;
    EXPECT_EQ(image.pixelColor(column(0.9), y), outside) << "past the marks";
  }
}

TEST(SkinWaveform, DefaultSkinShowsItWithoutChangingTheWindow) {
  SkinWidget skin;
  skin.selectLayout(QStringLiteral("Plaskett"));
  EXPECT_EQ(skin.size(), QSize(547, 421));
  SkinObject* wave = skin.findObject(QStringLiteral("wave"));
  ASSERT_NE(wave, nullptr);
  EXPECT_EQ(wave->kind(), SkinObjectKind::Waveform);
  const QRect bar = skin.objectRect(QStringLiteral("pb"));
  EXPECT_EQ(wave->rect().left(), bar.left());
  EXPECT_EQ(wave->rect().width(), bar.width());
  EXPECT_FALSE(wave->rect().intersects(bar));
  EXPECT_FALSE(wave->rect().intersects(skin.objectRect(QStringLiteral("nm"))));
  EXPECT_FALSE(bar.intersects(skin.objectRect(QStringLiteral("play"))));
}

}  // namespace
}  // namespace tarvex::skin
