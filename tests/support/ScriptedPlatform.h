#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>

#include "platform/PlatformServices.h"

namespace tarvex::testing {

// The platform double: records every message, dialog and launch, and answers
// dialogs from queues the test fills. An unanswered dialog counts as cancelled.
class ScriptedPlatform : public PlatformServices {
 public:
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

  // Answers for the next dialogs, in order.
  std::deque<QStringList> openAnswers;
  std::deque<std::optional<SaveChoice>> saveAnswers;
  std::deque<bool> questionAnswers;  // an unanswered question is answered No

  // False: shell launches find no program to take them (they are still
  // recorded below).
  bool launchesSucceed = true;

  // Runs while a message box would be open (for example to press Stop).
  std::function<void(const QString&)> onMessage;

  // What happened.
  QStringList informations;
  QStringList errors;
  QStringList questions;
  QStringList openedFolders;
  QStringList openedUrls;
  QStringList openedDocuments;
  QStringList openDialogFilters;  // filters of the last open dialog
  QStringList saveDialogFilters;
  QString lastDialogDirectory;
  int openDialogs = 0;
  int saveDialogs = 0;

  // All messages (informations, errors and questions) in the order shown.
  QStringList messages() const { return allMessages_; }

 private:
  QStringList allMessages_;
};

}  // namespace tarvex::testing
