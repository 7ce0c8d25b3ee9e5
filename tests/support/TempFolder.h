#pragma once

#include <QDir>
#include <QString>
#include <QTemporaryDir>

#include "tests/support/QtPrinters.h"

namespace tarvex::testing {

// A temporary folder removed with the object; `path(name)` joins a name to it.
class TempFolder {
 public:
  TempFolder() : dir_(QDir::tempPath() + QStringLiteral("/tarvex-test-XXXXXX")) {}
  QString path() const { return dir_.path(); }
  QString path(const QString& name) const { return dir_.path() + QLatin1Char('/') + name; }
  bool isValid() const { return dir_.isValid(); }

 private:
  QTemporaryDir dir_;
};

// Reads a whole file as UTF-8 text ("" when missing).
QString readText(const QString& path);
// Writes a whole file (creating or replacing it).
void writeText(const QString& path, const QString& text);

}  // namespace tarvex::testing
