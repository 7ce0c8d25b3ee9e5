#include "tags/ID3Tags.h"

#include <QFile>

#include "tags/ID3V2Reader.h"
#include "tags/ID3V2Writer.h"
#include "tags/SafeFileWrite.h"
#include "tags/TagError.h"

namespace tarvex {

void ID3Tags::ReadID3V2Tag(const QString& path) {
  LastID3V2 = {};
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return;
  LastID3V2 = parseID3V2Tag(file);
}

void ID3Tags::ReadID3V1Tag(const QString& path) {
  LastID3V1 = {};
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    throw TagError(QStringLiteral("Cannot open %1: %2").arg(path, file.errorString()));
  }
  const qint64 blockSize = static_cast<qint64>(LastID3V1.bytes.size());
  const qint64 size = file.size();
  if (size < blockSize) return;
  if (!file.seek(size - blockSize)) {
    throw TagError(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
  }
  const QByteArray tail = file.read(blockSize);
  if (tail.size() != blockSize) {
    throw TagError(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
  }
  LastID3V1 = parseID3V1Block(tail.constData(), tail.size());
}

void ID3Tags::WriteID3V2Tag(const QString& path, ID3StructV2 fields) const {
  QFile original(path);
  if (!original.open(QIODevice::ReadOnly)) {
    throw TagError(QStringLiteral("Cannot open %1: %2").arg(path, original.errorString()));
  }
  const qint64 fileSize = original.size();
  const qint64 oldTagLength = leadingID3V2TagLength(original.peek(10), fileSize);
  const QByteArray tag = buildID3V23Tag(fields);
  const QString errorPrefix = QStringLiteral("Cannot write the tag of %1: ").arg(path);

  replaceFileAtomically(path, errorPrefix, [&](QIODevice& out) {
    if (out.write(tag) != tag.size()) throw TagError(errorPrefix + out.errorString());
    if (!original.seek(oldTagLength)) throw TagError(errorPrefix + original.errorString());
    // Copy the audio in blocks so long files do not need to fit in memory.
    constexpr qint64 kBlock = 1 << 20;
    qint64 copied = oldTagLength;
    while (copied < fileSize) {
      const QByteArray block = original.read(kBlock);
      if (block.isEmpty()) throw TagError(errorPrefix + original.errorString());
      if (out.write(block) != block.size()) throw TagError(errorPrefix + out.errorString());
      copied += block.size();
    }
  });
}

}  // namespace tarvex
