#include "tests/support/CopiedFrames.h"

#include <QByteArray>
#include <QFile>

namespace tarvex::testing {

namespace {

QByteArray bytesOf(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

bool sharesFrameBytes(const QString& whole, const QString& part) {
  const QByteArray partBytes = bytesOf(part);
  if (partBytes.size() < 2048) return false;
  return bytesOf(whole).contains(partBytes.mid(partBytes.size() / 2, 512));
}

}  // namespace tarvex::testing
