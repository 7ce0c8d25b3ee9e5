// The facets the program drives: slider range and clamping, texts, the
// progress frame, and the default skin's objects where the program expects them.
#include <gtest/gtest.h>

#include <QFile>

#include "components/skin/BuiltInSkin.h"
#include "components/skin/SkinWidget.h"
#include "tests/skin/SkinTestSupport.h"

namespace tarvex::skin {
namespace {

class DefaultSkin : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(skin.selectLayout(QStringLiteral("Plaskett"))); }
  SkinObject& object(const char* name) {
    SkinObject* found = skin.findObject(QString::fromLatin1(name));
    if (!found) throw std::runtime_error(std::string("no object ") + name);
    return *found;
  }
  SkinWidget skin;
};

TEST_F(DefaultSkin, HoldsEveryObjectTheProgramNamesWithTheRightKind) {
  EXPECT_EQ(skin.layoutSize(), QSize(547, 421));
  for (const QString& name : testing::programObjectNames()) {
    EXPECT_NE(skin.findObject(name), nullptr) << name.toStdString();
  }
  EXPECT_EQ(object("pb").kind(), SkinObjectKind::Slider);
  for (const char* name : {"timecaption", "tataltime", "nm", "pbpos"}) {
    EXPECT_EQ(object(name).kind(), SkinObjectKind::Text) << name;
  }
  EXPECT_EQ(object("convertpb").kind(), SkinObjectKind::Frame);
  for (const char* name : {"file", "Action", "Help",  "Settings", "Set",  "addfile", "Up",
                           "Down", "Remove", "Clear", "play",     "stop", "Stop",    "hou",
                           "qian", "Split",  "Join",  "Begin",    "End",  "Ok",      "helpfile"}) {
    EXPECT_EQ(object(name).kind(), SkinObjectKind::Button) << name;
  }
  for (const char* name : {"lv", "lv_time", "sm", "cb_format"}) {
    EXPECT_EQ(object(name).kind(), SkinObjectKind::Region) << name;
  }
}

TEST_F(DefaultSkin, NamesCompareExactlyCaseIncluded) {
  SkinObject* playbackStop = skin.findObject(QStringLiteral("stop"));
  SkinObject* jobStop = skin.findObject(QStringLiteral("Stop"));
  ASSERT_NE(playbackStop, nullptr);
  ASSERT_NE(jobStop, nullptr);
  EXPECT_NE(playbackStop, jobStop);
  EXPECT_NE(playbackStop->rect(), jobStop->rect());
  EXPECT_EQ(skin.findObject(QStringLiteral("STOP")), nullptr);
  EXPECT_EQ(skin.findObject(QStringLiteral("ok")), nullptr);
  EXPECT_EQ(skin.findObject(QStringLiteral("Ok ")), nullptr);
  EXPECT_EQ(skin.findObject(QString()), nullptr);
}

TEST_F(DefaultSkin, PlacesTheProgramsWidgetsAndMenusWhereTheWindowExpectsThem) {
  EXPECT_EQ(object("lv").rect().topLeft(), QPoint(120, 92));
  EXPECT_GE(object("lv").rect().width(), 121);  // a 120-pixel column and its border
  EXPECT_EQ(object("lv_time").rect().topLeft(), QPoint(243, 92));
  EXPECT_GE(object("lv_time").rect().width(), 216);  // 100 + 55 + 60 pixel columns
  EXPECT_EQ(object("sm").rect().topLeft(), QPoint(120, 92));
  EXPECT_EQ(object("sm").rect().right(), object("lv_time").rect().right());
  // The menus pop up 19, 69 and 276 pixels right of the window's edge and just
  // below the menu words.
  EXPECT_TRUE(object("file").rect().contains(19, object("file").rect().center().y()));
  EXPECT_TRUE(object("Action").rect().contains(69, object("Action").rect().center().y()));
  EXPECT_TRUE(object("Help").rect().contains(276, object("Help").rect().center().y()));
  for (const char* menu : {"file", "Action", "Help"})
    EXPECT_LE(object(menu).rect().bottom(), 60) << menu;
  // The format selector sits beside "Set".
  EXPECT_EQ(object("cb_format").rect().top(), object("Set").rect().top());
  EXPECT_LT(object("cb_format").rect().right(), object("Set").rect().left());
}

TEST_F(DefaultSkin, EveryObjectFitsTheWindowAndNoTwoClickableObjectsOverlap) {
  const QRect window(QPoint(0, 0), skin.layoutSize());
  std::vector<SkinObject*> clickable;
  for (const QString& name : testing::programObjectNames()) {
    SkinObject& item = object(name.toLatin1().constData());
    EXPECT_TRUE(window.contains(item.rect())) << name.toStdString();
    if (item.kind() == SkinObjectKind::Button || item.kind() == SkinObjectKind::Slider)
      clickable.push_back(&item);
  }
  for (size_t i = 0; i < clickable.size(); ++i) {
    for (size_t j = i + 1; j < clickable.size(); ++j) {
      EXPECT_FALSE(clickable[i]->rect().intersects(clickable[j]->rect()))
          << clickable[i]->name().toStdString() << " overlaps "
          << clickable[j]->name().toStdString();
    }
  }
}

TEST_F(DefaultSkin, ProgressFrameHasRoomFor340PixelsInsideItsTrough) {
  SkinObject& progress = object("convertpb");
  const QRect start = progress.rect();
  const QRect trough = skin.objectRect(QStringLiteral("trough"));
  ASSERT_FALSE(trough.isEmpty());
  EXPECT_EQ(skin.objectRect(QStringLiteral("convertpb")).width(), 0);  // starts empty
  EXPECT_GT(start.left(), trough.left());
  EXPECT_LT(start.left() + 340, trough.right());
  EXPECT_GE(start.top(), trough.top());
  EXPECT_LE(start.bottom(), trough.bottom());
}

TEST_F(DefaultSkin, FrameRectIsSetAndReadBack) {
  SkinObject& progress = object("convertpb");
  const QRect start = progress.rect();
  QRect half = start;
  half.setRight(start.left() + 170);  // the way the window moves the right edge
  progress.setRect(half);
  EXPECT_EQ(progress.rect(), half);
  EXPECT_EQ(skin.objectRect(QStringLiteral("convertpb")).width(), 170);
  progress.setFrameWidth(340);
  EXPECT_EQ(progress.rect().right(), start.left() + 340);
  EXPECT_EQ(progress.rect().left(), start.left());
  EXPECT_EQ(progress.rect().top(), start.top());
  EXPECT_EQ(progress.rect().bottom(), start.bottom());
  progress.setFrameWidth(-20);
  EXPECT_EQ(skin.objectRect(QStringLiteral("convertpb")).width(), 0);
}

TEST_F(DefaultSkin, TextsAreSetAndReadBack) {
  EXPECT_EQ(object("timecaption").text(), QStringLiteral("00:00:00"));
  object("nm").setText(QStringLiteral("/music/a long folder name/ünïcode song.mp3"));
  EXPECT_EQ(object("nm").text(), QStringLiteral("/music/a long folder name/ünïcode song.mp3"));
  object("pbpos").setText(QString());
  EXPECT_TRUE(object("pbpos").text().isEmpty());
}

TEST_F(DefaultSkin, SliderKeepsItsPositionWithinMaximumMinusPage) {
  SkinObject& bar = object("pb");
  // A 100-second source: barMax 1084, page 52/1100 of it.
  bar.setMaximum(1084);
  bar.setPageSize(51);
  EXPECT_EQ(bar.span(), 1033);
  bar.setPosition(500);
  EXPECT_EQ(bar.position(), 500);
  bar.setPosition(5000);
  EXPECT_EQ(bar.position(), 1033);
  bar.setPosition(-7);
  EXPECT_EQ(bar.position(), 0);

  bar.setPosition(1000);
  bar.setMaximum(600);  // a shorter source: the position follows the new span
  EXPECT_EQ(bar.position(), 549);
  bar.setPageSize(700);  // page wider than the range: nothing to move
  EXPECT_EQ(bar.pageSize(), 700);
  EXPECT_EQ(bar.span(), 0);
  EXPECT_EQ(bar.position(), 0);
  bar.setMaximum(-1);
  bar.setPageSize(-1);
  EXPECT_EQ(bar.maximum(), 0);
  EXPECT_EQ(bar.pageSize(), 0);
  EXPECT_EQ(bar.position(), 0);
}

TEST_F(DefaultSkin, SliderThumbMovesAcrossTheWholeTrack) {
  SkinObject& bar = object("pb");
  bar.setMaximum(1100);
  bar.setPageSize(52);
  const QRect track = bar.rect();
  bar.setPosition(0);
  EXPECT_EQ(skin.sliderThumbRect(QStringLiteral("pb")).left(), track.left());
  bar.setPosition(bar.span());
  EXPECT_EQ(skin.sliderThumbRect(QStringLiteral("pb")).right(), track.right());
  EXPECT_TRUE(skin.sliderThumbRect(QStringLiteral("play")).isEmpty());
}

TEST(BuiltInSkin, IsTheSkinFileThatShipsBesideTheProgram) {
  QFile shipped(QStringLiteral(TARVEX_SOURCE_DIR "/components/skin/default.skin"));
  ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
  EXPECT_EQ(builtInSkinText(), QString::fromUtf8(shipped.readAll()));
}

}  // namespace
}  // namespace tarvex::skin
