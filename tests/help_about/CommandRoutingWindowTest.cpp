#include <gtest/gtest.h>
#include <QDir>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "app/dialogs/Tfm_id3.h"
#include "app/dialogs/Tfm_set.h"
#include "app/views/SegmentList.h"
#include "components/skin/SkinWidget.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/SettingsDialogDriver.h"
#include "tests/support/window/MainWindowHarness.h"
#include "tests/support/window/SourceFiles.h"

namespace tarvex {
namespace {

using testing::MainWindowHarness;
using testing::makeWavSource;

// Two sources under Custom, the first with one confirmed range.
class CommandRoutingWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    media_ = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/tarvex-routing-XXXXXX"));
    makeWavSource(media("a100.wav"), 100);
    makeWavSource(media("b50.wav"), 50);
  }
  static void TearDownTestSuite() { delete media_; }
  static QString media(const QString& name) { return media_->path() + QLatin1Char('/') + name; }

  void SetUp() override {
    harness.show();
    harness.mainSettings().splitFunction = SplitFunction::Custom;
    harness.addFiles({media("a100.wav"), media("b50.wav")});
    harness.clickSourceRow(0);
    skin::SkinObject* bar = harness.window().Skin1().findObject("pb");
    bar->setPosition(103);
    harness.clickSkin("Begin");
    bar->setPosition(207);
    harness.clickSkin("End");
    harness.clickSkin("Ok");
    ASSERT_EQ(harness.segmentRows().size(), 2);
    ASSERT_EQ(harness.segmentRows().value(0), "00:00:10 - 00:00:20|00:00:10|Ok");
  }

  // What a refused command must leave as it was.
  QStringList snapshot() {
    QStringList all = harness.sourceCaptions() + harness.segmentRows();
    for (const SourceRecord& record : harness.window().sources().all()) {
      for (const MarkedRange& range : record.ranges) {
        all << QString::number(range.begin) << QString::number(range.end);
      }
    }
    all << harness.skinText("tataltime")
        << QString::number(harness.window().Skin1().findObject("pb")->position());
    return all;
  }

  bool anyMenuVisible() {
    const PopupMenus& menus = harness.window().menus();
    return menus.p_file->isVisible() || menus.p_action->isVisible() || menus.p_lv->isVisible() ||
           menus.p_help->isVisible();
  }

  static QTemporaryDir* media_;
  MainWindowHarness harness;
};

QTemporaryDir* CommandRoutingWindow::media_ = nullptr;

TEST_F(CommandRoutingWindow, DuringAJobTheListAndJobCommandsDoNothing) {
  harness.clickSourceRow(1);
  harness.window().Skin1().findObject("pb")->setPosition(300);
  harness.holdJob();
  const QStringList before = snapshot();
  for (const char* name : {"file", "Action", "addfile", "Up", "Down", "Remove", "Clear", "play",
                           "hou", "qian", "Split", "Join", "Begin", "End", "Ok"}) {
    harness.clickSkin(name);
    EXPECT_EQ(snapshot(), before) << name;
    EXPECT_FALSE(anyMenuVisible()) << name;
  }
  for (const char* item :
       {"AddFile1", "AddFile2", "AddFolder1", "AddFolder2", "FileUp1", "FileDown1", "UP1", "Down1",
        "Remove1", "Remove2", "Remove3", "Clear1", "Clear2", "Play1", "Start1", "Join1"}) {
    harness.triggerMenuItem(item);
    EXPECT_EQ(snapshot(), before) << item;
  }
  EXPECT_EQ(harness.platform().openDialogs, 1) << "only the add before the job";
  EXPECT_EQ(harness.platform().saveDialogs, 0);
  EXPECT_TRUE(harness.platform().openedFolders.isEmpty());
  EXPECT_TRUE(harness.platform().messages().isEmpty());
  EXPECT_TRUE(harness.window().jobRunning());
  harness.window().StopJob();
}

TEST_F(CommandRoutingWindow, DuringAJobSettingsHelpAndTagsStillWorkAndStopEndsIt) {
  harness.holdJob();
  for (const char* name : {"Settings", "Set"}) {
    bool opened = false;
    harness.whenDialogOpens([&] {
      opened = harness.window().fm_set().isVisible();
      testing::SettingsDialogDriver(harness.window().fm_set()).clickCancel();
    });
    harness.clickSkin(name);
    EXPECT_TRUE(opened) << name;
  }
  harness.clickSkin("Help");
  EXPECT_TRUE(harness.window().menus().p_help->isVisible());
  harness.window().menus().p_help->hide();
  harness.clickSkin("helpfile");
  EXPECT_EQ(harness.platform().openedDocuments.size(), 1);
  for (const char* item : {"ID31", "ID3info1"}) {
    int rows = -1;
    harness.whenDialogOpens([&] {
      rows = harness.window().fm_id3().lv_id3->topLevelItemCount();
      harness.window().fm_id3().btn_cancel->click();
    });
    harness.triggerMenuItem(item);
    EXPECT_EQ(rows, 2) << item;
  }
  EXPECT_TRUE(harness.window().jobRunning());
  harness.clickSkin("Stop");
  EXPECT_FALSE(harness.window().jobRunning());
  EXPECT_EQ(harness.sourceCaptions().size(), 2);
}

TEST_F(CommandRoutingWindow, EachStopMenuItemEndsTheJob) {
  for (const char* item : {"Stop1", "Stop2"}) {
    harness.holdJob();
    harness.triggerMenuItem(item);
    EXPECT_FALSE(harness.window().jobRunning()) << item;
  }
  // The skin's small "stop" is the player's alone: it leaves a job running.
  harness.holdJob();
  harness.clickSkin("stop");
  EXPECT_TRUE(harness.window().jobRunning());
  harness.window().StopJob();
}

TEST_F(CommandRoutingWindow, WithTheRangesFocusedOnlyTheSkinRemoveRemovesARange) {
  harness.clickSegmentRow(0);
  ASSERT_TRUE(harness.window().segmentList().hasFocus());
  const QStringList before = snapshot();
  for (const char* item : {"Remove1", "Remove2", "Remove3"}) {
    harness.triggerMenuItem(item);
    EXPECT_EQ(snapshot(), before) << item;
  }
  harness.clickSkin("Remove");
  EXPECT_EQ(harness.sourceCaptions().size(), 2);
  EXPECT_EQ(harness.segmentRows(), QStringList{"00:00:00 - 00:01:40|00:01:40|Uncertain"});
  EXPECT_EQ(harness.window().sources().at(0).ranges.size(), 1u);

  // With the sources focused the menus' Remove removes the selected source.
  harness.clickSourceRow(1);
  ASSERT_FALSE(harness.window().segmentList().hasFocus());
  harness.triggerMenuItem("Remove2");
  EXPECT_EQ(harness.sourceCaptions(), QStringList{"a100.wav"});
  EXPECT_EQ(harness.window().sources().count(), 1);
}

TEST_F(CommandRoutingWindow, MenusPopUpAtTheirPlacesBelowTheMenuBar) {
  const QPoint corner = harness.window().frameGeometry().topLeft();
  const PopupMenus& menus = harness.window().menus();
  const struct {
    const char* object;
    QMenu* menu;
    QPoint offset;
  } cases[] = {{"file", menus.p_file, {19, 80}},
               {"Action", menus.p_action, {69, 80}},
               {"Help", menus.p_help, {276, 80}}};
  for (const auto& each : cases) {
    harness.clickSkin(each.object);
    ASSERT_TRUE(each.menu->isVisible()) << each.object;
    EXPECT_EQ(each.menu->pos(), corner + each.offset) << each.object;
    each.menu->hide();
  }
}

TEST_F(CommandRoutingWindow, ExitDuringAJobStopsItAndClosesTheWindow) {
  harness.holdJob();
  harness.triggerMenuItem("Exit1");
  EXPECT_FALSE(harness.window().jobRunning());
  EXPECT_FALSE(harness.window().isVisible());
}

}  // namespace
}  // namespace tarvex
