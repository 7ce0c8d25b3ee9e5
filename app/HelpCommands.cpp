#include "app/HelpCommands.h"

#include <QDir>

#include "app/ContactAddresses.h"
#include "platform/PlatformServices.h"

namespace tarvex {

QString helpDocumentPath(const QString& programFolder) {
  return programFolder + QDir::toNativeSeparators(QStringLiteral("help/Dorvane.html"));
}

void openHelp(PlatformServices& platform, const QString& programFolder) {
  platform.openDocument(helpDocumentPath(programFolder));
}

void openWebSite(PlatformServices& platform) {
  platform.openUrl(kWebAddress);
}

void openMailTo(PlatformServices& platform, const QString& address) {
  platform.openUrl(QStringLiteral("mailto:") + address);
}

}  // namespace tarvex
