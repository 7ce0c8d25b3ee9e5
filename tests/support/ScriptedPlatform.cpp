#include "tests/support/ScriptedPlatform.h"

namespace tarvex::testing {

void ScriptedPlatform::showInformation(QWidget*, const QString& text) {
  informations << text;
  allMessages_ << text;
  if (onMessage) onMessage(text);
}

void ScriptedPlatform::showError(QWidget*, const QString& text) {
  errors << text;
  allMessages_ << text;
  if (onMessage) onMessage(text);
}

bool ScriptedPlatform::askYesNo(QWidget*, const QString& text) {
  questions << text;
  allMessages_ << text;
  if (onMessage) onMessage(text);
  if (questionAnswers.empty()) return false;
  const bool answer = questionAnswers.front();
  questionAnswers.pop_front();
  return answer;
}

QStringList ScriptedPlatform::getOpenFileNames(QWidget*, const QString&, const QString& directory,
                                               const QStringList& filters) {
  ++openDialogs;
  openDialogFilters = filters;
  lastDialogDirectory = directory;
  if (openAnswers.empty()) return {};
  QStringList answer = openAnswers.front();
  openAnswers.pop_front();
  return answer;
}

std::optional<PlatformServices::SaveChoice> ScriptedPlatform::getSaveFileName(
    QWidget*, const QString&, const QString& directory, const QStringList& filters, int) {
  ++saveDialogs;
  saveDialogFilters = filters;
  lastDialogDirectory = directory;
  if (saveAnswers.empty()) return std::nullopt;
  std::optional<SaveChoice> answer;
  answer.swap(saveAnswers.front());
  saveAnswers.pop_front();
  return answer;
}

bool ScriptedPlatform::openFolder(const QString& folder) {
  openedFolders << folder;
  return launchesSucceed;
}
bool ScriptedPlatform::openUrl(const QString& url) {
  openedUrls << url;
  return launchesSucceed;
}
bool ScriptedPlatform::openDocument(const QString& path) {
  openedDocuments << path;
  return launchesSucceed;
}

}  // namespace tarvex::testing
