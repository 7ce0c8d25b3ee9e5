#pragma once

#include <QString>

class QWidget;

namespace tarvex {

class PlatformServices;

// The help document beside the program: `programFolder` ends with a separator.
QString helpDocumentPath(const QString& programFolder);

// Opens the help document in the system's viewer; a missing document is the
// viewer's to report. Each command says so over `parent` when no program
// could be started to take it.
void openHelp(PlatformServices& platform, QWidget* parent, const QString& programFolder);

// Opens the project's web site in the browser.
void openWebSite(PlatformServices& platform, QWidget* parent);

// Opens a new mail to `address` in the mail program.
void openMailTo(PlatformServices& platform, QWidget* parent, const QString& address);

}  // namespace tarvex
