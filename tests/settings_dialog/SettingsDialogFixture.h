#pragma once

#include <gtest/gtest.h>
#include <QComboBox>
#include <QLineEdit>
#include <QTreeWidget>
#include <QWidget>
#include <memory>
#include <vector>

#include "app/dialogs/Tfm_dir.h"
#include "app/dialogs/Tfm_set.h"
#include "config/MainSettings.h"
#include "config/SettingsFile.h"
#include "tests/support/ScriptedPlatform.h"
#include "tests/support/TempFolder.h"

namespace tarvex::testing {

// The settings dialog with its folder dialog under a stand-in main window,
// a settings file in a temporary folder, and hooks that record their calls.
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
  }

  QString iniPath() const { return folder.path(QStringLiteral("Quillmere.ini")); }
  QString iniText() const { return readText(iniPath()); }

  // Shows the dialog without blocking, as exec() would, and runs FormShow.
  void open() {
    dialog->show();
    ASSERT_TRUE(dialog->isVisible());
  }

  static QString shown(const QComboBox* box) { return box->currentText(); }

  // The tree node with this caption under `parent` (top level when empty).
  QTreeWidgetItem* node(const QString& caption, const QString& parent = QString()) {
    QTreeWidget* tree = dialog->TreeView1;
    for (int top = 0; top < tree->topLevelItemCount(); ++top) {
      QTreeWidgetItem* item = tree->topLevelItem(top);
      if (parent.isEmpty() && item->text(0) == caption) return item;
      if (item->text(0) != parent) continue;
      for (int child = 0; child < item->childCount(); ++child) {
        if (item->child(child)->text(0) == caption) return item->child(child);
      }
    }
    return nullptr;
  }

  TempFolder folder;
  SettingsFile settings;
  MainSettings state;  // the choices the dialog edits
  ScriptedPlatform platform;
  QWidget mainWindow;
  Tfm_dir folderDialog;
  std::unique_ptr<Tfm_set> dialog;

  bool mp3Supported = true;
  bool oggSupported = true;
  std::vector<Mp3Check> mp3Checks;
  std::vector<OggCheck> oggChecks;
  QStringList validatedCommandLines;
  int replans = 0;
};

}  // namespace tarvex::testing
