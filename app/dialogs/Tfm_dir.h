#pragma once

#include <QDialog>
#include <QString>
#include <functional>

class QFileSystemModel;
class QPushButton;
class QTreeView;

namespace tarvex {

class PlatformServices;
class SettingsFile;

// The folder dialog: a tree of the file system's folders, "New Folder", "Ok"
// and "Cancel". Its result is `chosenFolder`, read by the caller after the
// dialog closes. The caller sets the caption ("Output Directory", "Add File
// Directory") before each showing.
//
// How it ends:
//  - "Ok": `chosenFolder` becomes the selected folder's path (empty when none
//    is selected), which is written at once to "Output" / "Dir" and handed to
//    the folder receiver (the settings dialog's folder field); result Accepted.
//  - "Cancel": `chosenFolder` is emptied; result Rejected.
//  - the title-bar close button or Escape: `chosenFolder` keeps its value (the
//    folder of the last "Ok" or the path built by the last "New Folder");
//    result Rejected. Callers that must tell a choice from a dismissal look at
//    the result of exec().
class Tfm_dir : public QDialog {
  Q_OBJECT

 public:
  Tfm_dir(const SettingsFile& settings, PlatformServices& platform, QWidget* parent = nullptr);

  QString chosenFolder;

  // Receives the folder at every "Ok" (the settings dialog registers its field
  // here); an empty function unregisters.
  void setFolderReceiver(std::function<void(const QString&)> receiver);

  // The folder the tree opens at on its first showing (the user's home until
  // set). Later showings keep the expansion and selection the user left.
  void setStartFolder(const QString& folder);

  // Expands the tree down to `folder` and selects it; false when it does not exist.
  bool revealFolder(const QString& folder);

  // The path of the selected folder: native separators, ending with a
  // separator only at a root. Empty when nothing is selected.
  QString selectedFolder() const;

  // Handlers of the three buttons.
  void btn_okClick();
  void btn_cancelClick();
  void Button1Click();

  QTreeView* ShellTreeView1 = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* btn_ok = nullptr;
  QPushButton* btn_cancel = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormShow();

  const SettingsFile& settings_;
  PlatformServices& platform_;
  QFileSystemModel* folders_;
  std::function<void(const QString&)> folderReceiver_;
  QString startFolder_;
  bool shownBefore_ = false;
};

}  // namespace tarvex
