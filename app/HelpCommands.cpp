#include "app/HelpCommands.h"

#include <QDir>

#include "app/ContactAddresses.h"
#include "platform/ShellLaunch.h"

namespace tarvex {

QString helpDocumentPath(const QString& programFolder) {
  return programFolder + QDir::toNativeSeparators(QStringLiteral("help/Dorvane.html"));
}

void openHelp(PlatformServices& platform, QWidget* parent, const QString& programFolder) {
  openDocumentOrReport(platform, parent, helpDocumentPath(programFolder));
}

void openWebSite(PlatformServices& platform, QWidget* parent) {
  openUrlOrReport(platform, parent, kWebAddress);
}

void openMailTo(PlatformServices& platform, QWidget* parent, const QString& address) {
  openUrlOrReport(platform, parent, QStringLiteral("mailto:") + address);
}

}  // namespace tarvex
