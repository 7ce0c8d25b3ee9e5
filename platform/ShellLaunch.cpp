#include "platform/ShellLaunch.h"

#include <QDir>

#include "platform/PlatformServices.h"

namespace tarvex {

namespace {

const QString kMailScheme = QStringLiteral("mailto:");

}  // namespace

void openFolderOrReport(PlatformServices& platform, QWidget* parent, const QString& folder) {
  if (platform.openFolder(folder)) return;
  platform.showError(parent, QStringLiteral("The folder \"%1\" could not be opened: no file "
                                            "manager or desktop launcher was found to show it.")
                                 .arg(QDir::toNativeSeparators(folder)));
}

void openDocumentOrReport(PlatformServices& platform, QWidget* parent, const QString& path) {
  if (platform.openDocument(path)) return;
  platform.showError(parent, QStringLiteral("The document \"%1\" could not be opened: no viewer "
                                            "or desktop launcher was found to show it.")
                                 .arg(QDir::toNativeSeparators(path)));
}

void openUrlOrReport(PlatformServices& platform, QWidget* parent, const QString& url) {
  if (platform.openUrl(url)) return;
  if (url.startsWith(kMailScheme)) {
    platform.showError(parent, QStringLiteral("A mail to %1 could not be started: no mail "
                                              "program or desktop launcher was found.")
                                   .arg(url.mid(kMailScheme.size())));
  } else {
    platform.showError(parent, QStringLiteral("The web page %1 could not be opened: no web "
                                              "browser or desktop launcher was found.")
                                   .arg(url));
  }
}

}  // namespace tarvex
