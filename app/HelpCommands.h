#pragma once

#include <QString>

namespace tarvex {

class PlatformServices;

// The help document beside the program: `programFolder` ends with a separator.
QString helpDocumentPath(const QString& programFolder);

// Opens the help document in the system's viewer; a missing document is the
// viewer's to report.
void openHelp(PlatformServices& platform, const QString& programFolder);

// Opens the project's web site in the browser.
void openWebSite(PlatformServices& platform);

// Opens a new mail to `address` in the mail program.
void openMailTo(PlatformServices& platform, const QString& address);

}  // namespace tarvex
