#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "app/PreviewPlayer.h"
#include "app/Tfm_main.h"
#include "tests/support/ScriptedPlatform.h"
#include "tests/support/TempFolder.h"

namespace tarvex::testing {

// The real main window, offscreen, with its settings, program folder and
// output folder in a temporary folder and the scripted platform answering its
// dialogs. Drive it by the names of its skin objects and menu items.
class MainWindowHarness {
 public:
  // `settingsText`: the settings file's content before start ("" = no file).
  explicit MainWindowHarness(const QString& settingsText = QString());
  ~MainWindowHarness();

  Tfm_main& window() { return *window_; }
  ScriptedPlatform& platform() { return platform_; }
  MainSettings& mainSettings() { return window_->mainSettings(); }
  const PreviewPlayer& player() { return window_->previewPlayer(); }
  const TempFolder& folder() const { return folder_; }
  QString settingsPath() const { return folder_.path("config/Quillmere.ini"); }
  QString outputDir() const { return folder_.path("out") + QLatin1Char('/'); }
  QString mediaPath(const QString& name) const { return folder_.path("media/" + name); }

  // Shows the window (FormShow runs) and waits until it is exposed.
  void show();
  // Clicks the named skin object with the mouse, at its centre, then waits
  // until what the click started (an add, a job) has ended.
  void clickSkin(const QString& name);
  // The click alone: for acting while an add or a job runs.
  void clickSkinNoWait(const QString& name);
  // Triggers the named menu item ("AddFile1", "Start1", ...), then waits as clickSkin does.
  void triggerMenuItem(const QString& handlerName);
  void triggerMenuItemNoWait(const QString& handlerName);
  // Starts a job that stands still until it is stopped (Stop, Exit, closing
  // the window): the job display runs it as any other, but no executor gets
  // it, so it neither reports nor ends by itself. Needs the window shown.
  void holdJob();
  // Serves the event queue until no add and no job runs; false after `timeoutMs`.
  bool waitUntilIdle(int timeoutMs = 240000);
  // Adds files through Add File, answering the open dialog with them.
  void addFiles(const QStringList& paths);
  // Answers the next folder dialog: "Ok" on `folder`, or "Cancel" when empty.
  void answerNextFolderDialog(const QString& folder);
  // Runs `action` once the next modal dialog is open (then the test closes it).
  void whenDialogOpens(std::function<void()> action);
  // Clicks a row of the source list or the segment list.
  void clickSourceRow(int row);
  void clickSegmentRow(int row);
  // Texts of the segment list, one "caption|length|status" per row.
  QStringList segmentRows() const;
  QStringList sourceCaptions() const;
  QString skinText(const QString& name) const;
  // Closes the window as the user would.
  void close();

 private:
  TempFolder folder_;
  ScriptedPlatform platform_;
  std::unique_ptr<Tfm_main> window_;
  bool holdNextJob_ = false;
};

}  // namespace tarvex::testing
