#pragma once

#include <gtest/gtest.h>
#include <QWidget>
#include <memory>
#include <vector>

#include "app/dialogs/Tfm_dir.h"
#include "app/dialogs/Tfm_set.h"
#include "config/MainSettings.h"
#include "config/SettingsFile.h"
#include "tests/support/ScriptedPlatform.h"
#include "tests/support/SettingsDialogDriver.h"
#include "tests/support/TempFolder.h"

namespace tarvex::testing {

// The settings dialog with its folder dialog under a stand-in main window,
// a settings file in a temporary folder, hooks that record their calls, and a
// driver that works the dialog as a user does.
class SettingsDialogTest : public ::testing::Test {
 protected:
  struct Mp3Check {
    int rate, kbps, channelMode;
  };
  struct OggCheck {
    int rate, channels, kbps, minKbps, maxKbps;
  };

  SettingsDialogTest()
      : settings(folder.path(QStringLiteral("Quillmere.ini"))),
        folderDialog(settings, platform, &mainWindow) {
    state.outputDir = folder.path(QStringLiteral("out/"));
    SettingsDialogHooks hooks;
    hooks.checkMp3 = [this](int rate, int kbps, int channelMode) {
      mp3Checks.push_back({rate, kbps, channelMode});
      return mp3Supported;
    };
    hooks.checkOgg = [this](int rate, int channels, int kbps, int minKbps, int maxKbps) {
      oggChecks.push_back({rate, channels, kbps, minKbps, maxKbps});
      return oggSupported;
    };
    hooks.validateCommandLine = [this](const QString& text) {
      validatedCommandLines << text;
      if (text.contains(QStringLiteral("--bogus"))) {
        throw std::runtime_error("The encoder does not know the option \"--bogus\".");
      }
    };
    hooks.lvClick = [this] { ++replans; };
    dialog = std::make_unique<Tfm_set>(state, settings, platform, folderDialog, hooks, &mainWindow);
    ui = std::make_unique<SettingsDialogDriver>(*dialog);
  }

  QString iniPath() const { return folder.path(QStringLiteral("Quillmere.ini")); }
  QString iniText() const { return readText(iniPath()); }

  // Shows the dialog without blocking, as exec() would; it loads its controls.
  void open() {
    ui->open();
    ASSERT_TRUE(dialog->isVisible());
  }

  TempFolder folder;
  SettingsFile settings;
  MainSettings state;  // the choices the dialog edits
  ScriptedPlatform platform;
  QWidget mainWindow;
  Tfm_dir folderDialog;
  std::unique_ptr<Tfm_set> dialog;
  std::unique_ptr<SettingsDialogDriver> ui;

  bool mp3Supported = true;
  bool oggSupported = true;
  std::vector<Mp3Check> mp3Checks;
  std::vector<OggCheck> oggChecks;
  QStringList validatedCommandLines;
  int replans = 0;
};

}  // namespace tarvex::testing
