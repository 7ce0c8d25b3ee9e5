#pragma once

#include <QWidget>
#include <memory>
#include <optional>

#include "app/Command.h"
#include "config/MainWindowState.h"
#include "app/PopupMenus.h"
#include "config/SettingsFile.h"
#include "platform/PlatformServices.h"

class QComboBox;
class QPlainTextEdit;
class QTreeWidget;

namespace tarvex {

namespace skin {
class SkinObject;
class SkinWidget;
}  // namespace skin

class ConversionProgress;

// Where the main window finds what it needs from outside.
struct MainWindowEnvironment {
  PlatformServices* platform = nullptr;
  QString settingsFilePath;  // "Quillmere.ini" with its folder
  QString programFolder;     // ends with the native separator; holds the skin and help
  QString defaultOutputDir;  // used when none is stored
};

// The main window: the skin face, the source and segment lists, the format
// selector and the instructions, the window-wide state, and the dispatch of
// every command.
class Tfm_main : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kClientWidth = 547;
  static constexpr int kClientHeight = 421;

  explicit Tfm_main(MainWindowEnvironment environment, QWidget* parent = nullptr);
  ~Tfm_main() override;

  MainWindowState& state() { return state_; }
  const SettingsFile& settings() const { return settings_; }
  skin::SkinWidget& Skin1() { return *skin_; }
  QTreeWidget& lv() { return *lv_; }
  QTreeWidget& lv_time() { return *lvTime_; }
  QComboBox& cb_format() { return *cbFormat_; }
  QPlainTextEdit& sm() { return *sm_; }
  const PopupMenus& menus() const { return menus_; }

  // Runs once, when the window is first shown.
  void FormShow();

  // The click on a named skin object.
  void Skin1Click(skin::SkinObject* source);

  // Runs a command unless it is refused in the current situation.
  void runCommand(Command command);

  // Clears jobRunning and empties the progress display.
  void StopJob();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormCloseQuery();
  void placeOwnWidgets();
  void popUp(QMenu* menu, int dx, int dy);
  CommandContext commandContext() const;

  MainWindowEnvironment environment_;
  SettingsFile settings_;
  MainWindowState state_;
  bool shown_ = false;

  skin::SkinWidget* skin_ = nullptr;
  QTreeWidget* lv_ = nullptr;
  QTreeWidget* lvTime_ = nullptr;
  QComboBox* cbFormat_ = nullptr;
  QPlainTextEdit* sm_ = nullptr;
  PopupMenus menus_;
  std::unique_ptr<ConversionProgress> progress_;
};

}  // namespace tarvex
