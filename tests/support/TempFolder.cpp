#include "tests/support/TempFolder.h"

#include <QFile>

namespace tarvex::testing {

QString readText(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

void writeText(const QString& path, const QString& text) {
  QFile file(path);
  if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(text.toUtf8());
}

}  // namespace tarvex::testing
