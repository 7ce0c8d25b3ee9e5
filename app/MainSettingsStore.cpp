#include "app/MainSettingsStore.h"

#include <QDir>
#include <QStandardPaths>

#include "app/OutputFormats.h"

namespace tarvex {

QString defaultOutputDir() {
  QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
  if (music.isEmpty()) music = QDir::homePath() + QStringLiteral("/Music");
  return withTrailingSeparator(QDir::toNativeSeparators(music));
}

MainSettings LoadMainSettings(const SettingsFile& settings, const QString& defaultFolder) {
  MainSettings choices = mainSettingsFrom(LoadSettings(
      settings, SettingGroup::MainWindow, SettingsReader::SettingsDialog, defaultFolder));
  choices.formatIndex = knownFormatIndex(choices.formatIndex);
  // An empty stored folder would put pieces in the working directory.
  if (choices.outputDir.trimmed().isEmpty()) choices.outputDir = defaultFolder;
  if (!QDir(choices.outputDir).exists()) {
    QDir().mkdir(choices.outputDir);  // one level; failure ignored
  }
  choices.outputDir = withTrailingSeparator(choices.outputDir);
  return choices;
}

void SaveMainSettings(const SettingsFile& settings, const MainSettings& choices) {
  StoreSettings(settings, settingsValuesOf(choices), SettingGroup::MainWindow);
}

JobSettings jobSettingsOf(const MainSettings& choices) {
  JobSettings job;
  job.function = choices.splitFunction;
  job.outputDir = choices.outputDir;
  job.pieceSeconds = choices.pieceSeconds;
  job.pieceCount = choices.pieceCount;
  job.fadeIn = choices.fadeIn;
  job.fadeOut = choices.fadeOut;
  job.fadeInSeconds = choices.fadeInSeconds;
  job.fadeOutSeconds = choices.fadeOutSeconds;
  job.namePiecesByTitle = choices.namePiecesByTitle;
  return job;
}

}  // namespace tarvex
