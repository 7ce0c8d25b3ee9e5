#include "tags/SafeFileWrite.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "tags/TagError.h"

namespace tarvex {

void makeWritableByOwner(const QString& path) {
  QFile file(path);
  if (!file.exists()) return;
  const QFileDevice::Permissions permissions = file.permissions();
  if (permissions.testFlag(QFileDevice::WriteOwner)) return;
  if (!file.setPermissions(permissions | QFileDevice::WriteOwner)) {
    throw TagError(QStringLiteral("Cannot make %1 writable: %2").arg(path, file.errorString()));
  }
}

void replaceFileAtomically(const QString& path, const QString& errorPrefix,
                           const std::function<void(QIODevice& out)>& produce) {
  makeWritableByOwner(path);
  // QSaveFile creates a new, uniquely named file next to the target (never
  // reusing an existing one), removes it when the write is abandoned and
  // renames it over the target on commit.
  QSaveFile out(path);
  out.setDirectWriteFallback(false);
  if (!out.open(QIODevice::WriteOnly)) {
    throw TagError(errorPrefix + out.errorString());
  }
  try {
    produce(out);
  } catch (...) {
    out.cancelWriting();
    throw;
  }
  if (out.error() != QFileDevice::NoError) {
    const QString reason = out.errorString();
    out.cancelWriting();
    throw TagError(errorPrefix + reason);
  }
  if (!out.commit()) {
    throw TagError(errorPrefix + out.errorString());
  }
}

QByteArray readWholeFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    throw TagError(QStringLiteral("Cannot open %1: %2").arg(path, file.errorString()));
  }
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    throw TagError(QStringLiteral("Cannot open %1: %2").arg(path, file.errorString()));
  }
  return bytes;
}

}  // namespace tarvex
