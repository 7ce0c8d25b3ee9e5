#include "config/MainSettings.h"

#include <QDir>

namespace tarvex {

MainSettings mainSettingsFrom(const SettingsValues& values) {
  MainSettings settings;
  settings.splitFunction = splitFunctionFromIni(values.number(Setting::FunctionChoice));
  settings.outputDir = values.text(Setting::OutputDir);
  settings.pieceSeconds = values.number(Setting::PieceSeconds);
  settings.pieceCount = values.number(Setting::PieceCount);
  settings.fadeIn = values.flag(Setting::FadeIn);
  settings.fadeOut = values.flag(Setting::FadeOut);
  settings.fadeInSeconds = values.number(Setting::FadeInSeconds);
  settings.fadeOutSeconds = values.number(Setting::FadeOutSeconds);
  settings.skinFlag = values.flag(Setting::SkinFlag);
  settings.namePiecesByTitle = values.flag(Setting::NamePiecesByTitle);
  settings.formatIndex = values.number(Setting::OutputFormat);
  return settings;
}

SettingsValues settingsValuesOf(const MainSettings& settings) {
  SettingsValues values;
  values.setNumber(Setting::FunctionChoice, iniValue(settings.splitFunction));
  values.setText(Setting::OutputDir, settings.outputDir);
  values.setNumber(Setting::PieceSeconds, settings.pieceSeconds);
  values.setNumber(Setting::PieceCount, settings.pieceCount);
  values.setFlag(Setting::FadeIn, settings.fadeIn);
  values.setFlag(Setting::FadeOut, settings.fadeOut);
  values.setNumber(Setting::FadeInSeconds, settings.fadeInSeconds);
  values.setNumber(Setting::FadeOutSeconds, settings.fadeOutSeconds);
  values.setFlag(Setting::SkinFlag, settings.skinFlag);
  values.setFlag(Setting::NamePiecesByTitle, settings.namePiecesByTitle);
  values.setNumber(Setting::OutputFormat, settings.formatIndex);
  return values;
}

QString withTrailingSeparator(const QString& folder) {
  if (folder.endsWith(QDir::separator()) || folder.endsWith(QLatin1Char('/'))) return folder;
  return folder + QDir::separator();
}

}  // namespace tarvex
