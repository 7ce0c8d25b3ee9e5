#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace tarvex {

// Everything that a desktop program would ask of the operating system's shell
// and standard dialogs goes through this interface, so that tests can answer
// the dialogs and record what was shown or launched.
class PlatformServices {
 public:
  virtual ~PlatformServices() = default;

  // An information box with one OK button.
  virtual void showInformation(QWidget* parent, const QString& text) = 0;

  // The application's default error display: a failure that ended a command.
  virtual void showError(QWidget* parent, const QString& text) = 0;

  // A question with Yes and No buttons, No preselected; true for Yes.
  virtual bool askYesNo(QWidget* parent, const QString& text) = 0;

  // Open dialog with multi-select. `filters` are Qt name filters
  // ("MP3 Files (*.mp3 *.mp2)"); the first is preselected. Empty list: cancelled.
  virtual QStringList getOpenFileNames(QWidget* parent, const QString& caption,
                                       const QString& directory, const QStringList& filters) = 0;

  struct SaveChoice {
    QString fileName;
    int filterIndex = 1;  // 1-based, as the dialog reports it
  };
  // Save dialog; asks before replacing an existing file. nullopt: cancelled.
  virtual std::optional<SaveChoice> getSaveFileName(QWidget* parent, const QString& caption,
                                                    const QString& directory,
                                                    const QStringList& filters,
                                                    int filterIndex) = 0;

  // Shell launches: fire-and-forget. False when no program could be started
  // to take the request (no desktop launcher, as on a bare machine); what the
  // started program then does is its own business. Callers say so to the
  // user through ShellLaunch.h.
  virtual bool openFolder(const QString& folder) = 0;
  virtual bool openUrl(const QString& url) = 0;        // a web page or a mailto: link
  virtual bool openDocument(const QString& path) = 0;  // the help document
};

}  // namespace tarvex
