#include "platform/ProgramDataFolder.h"

#include <QDir>
#include <QFileInfo>

namespace tarvex {

namespace {

QString withSeparator(const QString& folder) {
  QString native = QDir::toNativeSeparators(QDir::cleanPath(folder));
  if (!native.endsWith(QDir::separator())) native += QDir::separator();
  return native;
}

bool holdsSkin(const QString& folder) {
  return QFileInfo(QDir(folder).filePath(kSkinFileName)).isFile();
}

}  // namespace

QString programDataFolder(const QString& programFolder, const QString& installedDataFolder) {
  if (holdsSkin(programFolder)) return withSeparator(programFolder);
  if (!installedDataFolder.isEmpty()) {
    const QString installed = QDir(programFolder).filePath(installedDataFolder);
    if (holdsSkin(installed)) return withSeparator(installed);
  }
  return withSeparator(programFolder);
}

}  // namespace tarvex
