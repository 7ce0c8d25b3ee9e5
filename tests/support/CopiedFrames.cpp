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
  QByteArray partBytes = bytesOf(part);
  // The middle of the audio, past an ID3v2 tag in front.
  if (partBytes.startsWith("ID3") && partBytes.size() > 10) {
    const auto byte = [&partBytes](int at) {
      return static_cast<unsigned char>(partBytes[at]) & 0x7f;
    };
    const qsizetype tag = 10 + ((byte(6) << 21) | (byte(7) << 14) | (byte(8) << 7) | byte(9));
    partBytes = partBytes.mid(tag);
  }
  if (partBytes.size() < 2048) return false;
  return bytesOf(whole).contains(partBytes.mid(partBytes.size() / 2, 512));
}

}  // namespace tarvex::testing
