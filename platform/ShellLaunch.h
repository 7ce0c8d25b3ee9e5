#pragma once

#include <QString>

class QWidget;

namespace tarvex {

class PlatformServices;

// Opens a folder, a document or a web or mail link through the shell, and
// when no program could be started to take it (no desktop launcher, as on a
// bare machine) tells the user in an error message over `parent`.
void openFolderOrReport(PlatformServices& platform, QWidget* parent, const QString& folder);
void openDocumentOrReport(PlatformServices& platform, QWidget* parent, const QString& path);
void openUrlOrReport(PlatformServices& platform, QWidget* parent, const QString& url);

}  // namespace tarvex
