#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>

#include "app/dialogs/Tfm_set.h"
#include "tests/support/SettingsDialogDriver.h"
#include "tests/support/window/MainWindowHarness.h"
#include "tests/support/window/SourceFiles.h"

namespace tarvex {
namespace {

using testing::MainWindowHarness;

TEST(SettingsCommand, BothSkinObjectsOpenTheDialogAndOkReplansTheSelectedSource) {
  QTemporaryDir media(QDir::tempPath() + QStringLiteral("/tarvex-settings-XXXXXX"));
  const QString source = testing::makeWavSource(media.path() + "/a125.wav", 125);
  MainWindowHarness harness;
  harness.show();
  harness.addFiles({source});
  EXPECT_EQ(harness.segmentRows(), QStringList{"00:00:00 - 00:02:05|00:02:05|Uncertain"});

  bool opened = false;
  harness.whenDialogOpens([&] {
    Tfm_set& dialog = harness.window().fm_set();
    opened = dialog.isVisible();
    testing::SettingsDialogDriver user(dialog);
    user.choose("rb_time");
    user.replaceText("edt_time", "60");
    user.clickOk();
  });
  harness.clickSkin("Settings");
  EXPECT_TRUE(opened);
  EXPECT_EQ(harness.mainSettings().splitFunction, SplitFunction::EveryNSeconds);
  EXPECT_EQ(harness.segmentRows(), QStringList({"00:00:00 - 00:01:00|00:01:00|Unconvert",
                                                "00:01:00 - 00:02:00|00:01:00|Unconvert",
                                                "00:02:00 - 00:02:05|00:00:05|Unconvert"}));

  opened = false;
  harness.whenDialogOpens([&] {
    opened = harness.window().fm_set().isVisible();
    testing::SettingsDialogDriver(harness.window().fm_set()).clickCancel();
  });
  harness.clickSkin("Set");
  EXPECT_TRUE(opened);
}

TEST(SettingsCommand, TheDialogStillOpensWhileAJobRuns) {
  MainWindowHarness harness;
  harness.show();
  harness.holdJob();
  bool opened = false;
  harness.whenDialogOpens([&] {
    opened = harness.window().fm_set().isVisible();
    testing::SettingsDialogDriver(harness.window().fm_set()).clickCancel();
  });
  harness.clickSkin("Settings");
  EXPECT_TRUE(opened);
  harness.window().StopJob();
}

}  // namespace
}  // namespace tarvex
