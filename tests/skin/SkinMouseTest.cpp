// Mouse events on the real widget: clicks on buttons, the position bar's
// thumb drag and page steps, and the signals they raise.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include "components/skin/SkinWidget.h"

namespace tarvex::skin {
namespace {

class SkinMouse : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(skin.selectLayout(QStringLiteral("Plaskett")));
    skin.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&skin));
    bar = skin.findObject(QStringLiteral("pb"));
    ASSERT_NE(bar, nullptr);
    bar->setMaximum(1100);
    bar->setPageSize(52);
  }

  QPoint centreOf(const char* name) { return skin.objectRect(QString::fromLatin1(name)).center(); }

  static QString nameAt(const QSignalSpy& spy, int row) {
    return spy.at(row).at(0).value<SkinObject*>()->name();
  }

  SkinWidget skin;
  SkinObject* bar = nullptr;
  QSignalSpy clicks{&skin, &SkinWidget::OnClick};
  QSignalSpy downs{&skin, &SkinWidget::OnMouseDown};
  QSignalSpy ups{&skin, &SkinWidget::OnMouseUp};
  QSignalSpy tracks{&skin, &SkinWidget::OnScrollTrack};
};

TEST_F(SkinMouse, ClickingAButtonRaisesDownUpAndClickWithThatObject) {
  QTest::mouseClick(&skin, Qt::LeftButton, {}, centreOf("stop"));
  ASSERT_EQ(clicks.count(), 1);
  EXPECT_EQ(nameAt(clicks, 0), QStringLiteral("stop"));
  ASSERT_EQ(downs.count(), 1);
  EXPECT_EQ(nameAt(downs, 0), QStringLiteral("stop"));
  EXPECT_EQ(downs.at(0).at(1).value<Qt::MouseButton>(), Qt::LeftButton);
  EXPECT_EQ(QPoint(downs.at(0).at(2).toInt(), downs.at(0).at(3).toInt()), centreOf("stop"));
  ASSERT_EQ(ups.count(), 1);

  QTest::mouseClick(&skin, Qt::LeftButton, {}, centreOf("Stop"));
  ASSERT_EQ(clicks.count(), 2);
  EXPECT_EQ(nameAt(clicks, 1), QStringLiteral("Stop"));
}

TEST_F(SkinMouse, EveryButtonOfTheDefaultSkinAnswersAClickAtItsCentre) {
  const char* buttons[] = {"file", "Action", "Help",  "Settings", "Set",  "addfile", "Up",
                           "Down", "Remove", "Clear", "play",     "stop", "Stop",    "hou",
                           "qian", "Split",  "Join",  "Begin",    "End",  "Ok",      "helpfile"};
  for (const char* name : buttons) {
    QTest::mouseClick(&skin, Qt::LeftButton, {}, centreOf(name));
    ASSERT_FALSE(clicks.isEmpty()) << name;
    EXPECT_EQ(nameAt(clicks, static_cast<int>(clicks.count()) - 1), QString::fromLatin1(name));
  }
  EXPECT_EQ(clicks.count(), static_cast<qsizetype>(std::size(buttons)));
}

TEST_F(SkinMouse, ReleasingOutsideTheButtonIsNoClick) {
  QTest::mousePress(&skin, Qt::LeftButton, {}, centreOf("Split"));
  QTest::mouseMove(&skin, centreOf("Join"));
  QTest::mouseRelease(&skin, Qt::LeftButton, {}, centreOf("Join"));
  EXPECT_EQ(clicks.count(), 0);
  ASSERT_EQ(ups.count(), 1);
  EXPECT_EQ(nameAt(ups, 0), QStringLiteral("Split"));  // the up goes to the pressed object
}

TEST_F(SkinMouse, OtherButtonsAndDecorationsRaiseNoClick) {
  QTest::mouseClick(&skin, Qt::RightButton, {}, centreOf("play"));
  EXPECT_EQ(clicks.count(), 0);
  ASSERT_EQ(downs.count(), 1);
  EXPECT_EQ(downs.at(0).at(1).value<Qt::MouseButton>(), Qt::RightButton);
  EXPECT_EQ(ups.count(), 1);

  QTest::mouseClick(&skin, Qt::LeftButton, {}, centreOf("timecaption"));
  QTest::mouseClick(&skin, Qt::LeftButton, {}, centreOf("lv"));
  QTest::mouseClick(&skin, Qt::LeftButton, {}, QPoint(2, 2));
  EXPECT_EQ(clicks.count(), 0);
  EXPECT_EQ(downs.count(), 1);
}

TEST_F(SkinMouse, DraggingTheThumbTracksThePositionAndIsNoClick) {
  const QRect thumb = skin.sliderThumbRect(QStringLiteral("pb"));
  QPoint at = thumb.center();
  QTest::mousePress(&skin, Qt::LeftButton, {}, at);
  ASSERT_EQ(downs.count(), 1);
  EXPECT_EQ(nameAt(downs, 0), QStringLiteral("pb"));
  EXPECT_EQ(tracks.count(), 0);

  int last = 0;
  for (int step = 1; step <= 4; ++step) {
    at += QPoint(40, 0);
    QTest::mouseMove(&skin, at);
    ASSERT_EQ(tracks.count(), step);
    const int reported = tracks.last().at(1).toInt();
    EXPECT_GT(reported, last);
    EXPECT_EQ(reported, bar->position());  // already set when the signal comes
    last = reported;
  }
  // The thumb stays under the mouse.
  EXPECT_NEAR(skin.sliderThumbRect(QStringLiteral("pb")).center().x(), at.x(), 1);

  QTest::mouseMove(&skin, QPoint(skin.width() + 200, at.y()));
  EXPECT_EQ(bar->position(), bar->span());
  QTest::mouseMove(&skin, QPoint(-300, at.y()));
  EXPECT_EQ(bar->position(), 0);
  QTest::mouseMove(&skin, QPoint(-350, at.y()));  // no change, no signal
  const auto signalsAtZero = tracks.count();
  QTest::mouseMove(&skin, QPoint(-400, at.y()));
  EXPECT_EQ(tracks.count(), signalsAtZero);

  QTest::mouseRelease(&skin, Qt::LeftButton, {}, QPoint(-400, at.y()));
  ASSERT_EQ(ups.count(), 1);
  EXPECT_EQ(nameAt(ups, 0), QStringLiteral("pb"));
  EXPECT_EQ(clicks.count(), 0);
}

TEST_F(SkinMouse, ClickOnTheTrackMovesByAPage) {
  bar->setPosition(100);
  const QRect track = skin.objectRect(QStringLiteral("pb"));
  QTest::mouseClick(&skin, Qt::LeftButton, {}, QPoint(track.right() - 2, track.center().y()));
  EXPECT_EQ(bar->position(), 152);
  ASSERT_EQ(tracks.count(), 1);
  EXPECT_EQ(tracks.at(0).at(1).toInt(), 152);
  EXPECT_EQ(downs.count(), 1);
  EXPECT_EQ(ups.count(), 1);

  QTest::mouseClick(&skin, Qt::LeftButton, {}, QPoint(track.left() + 1, track.center().y()));
  EXPECT_EQ(bar->position(), 100);
  QTest::mouseClick(&skin, Qt::LeftButton, {}, QPoint(track.left() + 1, track.center().y()));
  QTest::mouseClick(&skin, Qt::LeftButton, {}, QPoint(track.left() + 1, track.center().y()));
  EXPECT_EQ(bar->position(), 0);  // never below 0
  EXPECT_EQ(clicks.count(), 0);
}

TEST_F(SkinMouse, SliderWithNothingToMoveRaisesNoScrollTrack) {
  bar->setMaximum(0);
  const QRect track = skin.objectRect(QStringLiteral("pb"));
  QTest::mousePress(&skin, Qt::LeftButton, {}, track.center());
  QTest::mouseMove(&skin, track.center() + QPoint(60, 0));
  QTest::mouseRelease(&skin, Qt::LeftButton, {}, track.center() + QPoint(60, 0));
  EXPECT_EQ(tracks.count(), 0);
  EXPECT_EQ(bar->position(), 0);
  EXPECT_EQ(downs.count(), 1);
  EXPECT_EQ(ups.count(), 1);
}

TEST_F(SkinMouse, ALostReleaseEndsTheDragWithoutAClick) {
  // The release went to another window; the next move comes with no button held.
  QTest::mousePress(&skin, Qt::LeftButton, {}, skin.sliderThumbRect(QStringLiteral("pb")).center());
  QMouseEvent move(QEvent::MouseMove, QPointF(centreOf("play")),
                   QPointF(skin.mapToGlobal(centreOf("play"))), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(&skin, &move);
  ASSERT_EQ(ups.count(), 1);
  EXPECT_EQ(nameAt(ups, 0), QStringLiteral("pb"));
  QTest::mouseClick(&skin, Qt::LeftButton, {}, centreOf("play"));
  ASSERT_EQ(clicks.count(), 1);
  EXPECT_EQ(nameAt(clicks, 0), QStringLiteral("play"));
}

TEST_F(SkinMouse, HandlerThatReloadsTheSkinDuringAClickIsSafe) {
  QObject::connect(&skin, &SkinWidget::OnMouseUp, &skin, [this] { skin.loadSkinFile(QString()); });
  QTest::mouseClick(&skin, Qt::LeftButton, {}, centreOf("play"));
  EXPECT_EQ(ups.count(), 1);
  EXPECT_EQ(clicks.count(), 0);  // the pressed object is gone with the old skin
  ASSERT_NE(skin.findObject(QStringLiteral("play")), nullptr);
  QObject::disconnect(&skin, &SkinWidget::OnMouseUp, &skin, nullptr);
  QTest::mouseClick(&skin, Qt::LeftButton, {}, centreOf("play"));
  EXPECT_EQ(clicks.count(), 1);
}

}  // namespace
}  // namespace tarvex::skin
