#include "app/MainSettings.h"

#include <QDir>
#include <QStandardPaths>

#include "app/OutputFormats.h"

namespace tarvex {

QString defaultOutputDir() {
  QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
  if (music.isEmpty()) music = QDir::homePath() + QStringLiteral("/Music");
  return withTrailingSeparator(QDir::toNativeSeparators(music));
}

QString withTrailingSeparator(const QString& folder) {
  const QChar separator = QDir::separator();
  if (folder.endsWith(separator)) return folder;
  return folder + separator;
}

void LoadMainSettings(const SettingsFile& settings, MainWindowState& state,
                      const QString& defaultFolder) {
  state.splitFunction = splitFunctionFromIni(
      settings.GetInt(QStringLiteral("Function"), QStringLiteral("Choice"), 0));
  state.outputDir =
      settings.GetText(QStringLiteral("Output"), QStringLiteral("Dir"), defaultFolder);
  state.pieceSeconds = settings.GetInt(QStringLiteral("Choice"), QStringLiteral("time"), 60);
  state.pieceCount = settings.GetInt(QStringLiteral("Choice"), QStringLiteral("Count"), 6);
  state.fadeIn = settings.GetBool(QStringLiteral("Fade"), QStringLiteral("In"), false);
  state.fadeOut = settings.GetBool(QStringLiteral("Fade"), QStringLiteral("Out"), false);
  state.fadeInSeconds = settings.GetInt(QStringLiteral("Fade"), QStringLiteral("Intime"), 5);
  state.fadeOutSeconds = settings.GetInt(QStringLiteral("Fade"), QStringLiteral("Outtime"), 5);
  state.skinFlag = settings.GetBool(QStringLiteral("Sorvel"), QStringLiteral("Skin"), false);
  state.namePiecesByTitle =
      settings.GetBool(QStringLiteral("Output"), QStringLiteral("TitleNames"), false);
  // A format the program does not know (a hand edit, a later version) is MP3.
  state.formatIndex =
      knownFormatIndex(settings.GetInt(QStringLiteral("Output"), QStringLiteral("Format"), 0));

  // An empty stored folder would put pieces in the working directory.
  if (state.outputDir.trimmed().isEmpty()) state.outputDir = defaultFolder;
  if (!QDir(state.outputDir).exists()) QDir().mkdir(state.outputDir);  // one level; failure ignored
  state.outputDir = withTrailingSeparator(state.outputDir);
}

void SaveMainSettings(const SettingsFile& settings, const MainWindowState& state) {
  settings.PutInt(QStringLiteral("Function"), QStringLiteral("Choice"),
                  iniValue(state.splitFunction));
  settings.PutText(QStringLiteral("Output"), QStringLiteral("Dir"), state.outputDir);
  settings.PutInt(QStringLiteral("Choice"), QStringLiteral("time"), state.pieceSeconds);
  settings.PutInt(QStringLiteral("Choice"), QStringLiteral("Count"), state.pieceCount);
  settings.PutBool(QStringLiteral("Fade"), QStringLiteral("In"), state.fadeIn);
  settings.PutBool(QStringLiteral("Fade"), QStringLiteral("Out"), state.fadeOut);
  settings.PutInt(QStringLiteral("Fade"), QStringLiteral("Intime"), state.fadeInSeconds);
  settings.PutInt(QStringLiteral("Fade"), QStringLiteral("Outtime"), state.fadeOutSeconds);
  settings.PutBool(QStringLiteral("Sorvel"), QStringLiteral("Skin"), state.skinFlag);
  settings.PutBool(QStringLiteral("Output"), QStringLiteral("TitleNames"), state.namePiecesByTitle);
  settings.PutInt(QStringLiteral("Output"), QStringLiteral("Format"), state.formatIndex);
}

}  // namespace tarvex
