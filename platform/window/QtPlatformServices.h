#pragma once

#include "platform/PlatformServices.h"

namespace tarvex {

// The production platform layer: Qt's message boxes, file dialogs and desktop
// services.
class QtPlatformServices : public PlatformServices {
 public:
  // `messageCaption` titles every message box; empty: the application's name.
  explicit QtPlatformServices(QString messageCaption = QString());

  void showInformation(QWidget* parent, const QString& text) override;
  void showError(QWidget* parent, const QString& text) override;
  bool askYesNo(QWidget* parent, const QString& text) override;
  QStringList getOpenFileNames(QWidget* parent, const QString& caption, const QString& directory,
                               const QStringList& filters) override;
  std::optional<SaveChoice> getSaveFileName(QWidget* parent, const QString& caption,
                                            const QString& directory, const QStringList& filters,
                                            int filterIndex) override;
  bool openFolder(const QString& folder) override;
  bool openUrl(const QString& url) override;
  bool openDocument(const QString& path) override;

 private:
  QString messageCaption() const;

  QString messageCaption_;
};

// Turns a filter written as "MP3 Files(*.mp3;*.mp2)" into Qt's form
// "MP3 Files (*.mp3 *.mp2)".
QString toQtNameFilter(const QString& filter);

}  // namespace tarvex
