#include "platform/ConfigLocation.h"

#include <QDir>

namespace tarvex {

QString settingsFolder() {
  const QString overridden = qEnvironmentVariable("TARVEX_CONFIG_DIR");
  if (!overridden.isEmpty()) return QDir::cleanPath(overridden);
  QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.config");
  return QDir::cleanPath(base + QStringLiteral("/tarvex"));
}

QString settingsFilePath() {
  return settingsFolder() + QStringLiteral("/Quillmere.ini");
}

}  // namespace tarvex
