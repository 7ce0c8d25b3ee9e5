#include "tags/ID3TextCodec.h"

#include "tags/TagText.h"

namespace tarvex {
namespace {

bool isWideEncoding(unsigned encoding) {
  return encoding == 1 || encoding == 2;
}

unsigned byteAt(const QByteArray& bytes, qsizetype index) {
  return static_cast<unsigned char>(bytes[index]);
}

}  // namespace

qsizetype id3TerminatorAt(const QByteArray& data, qsizetype from, unsigned encoding) {
  if (isWideEncoding(encoding)) {
    for (qsizetype i = from; i + 1 < data.size(); i += 2) {
      if (data[i] == '\0' && data[i + 1] == '\0') return i;
    }
    return data.size();
  }
  const qsizetype zero = data.indexOf('\0', from);
  return zero < 0 ? data.size() : zero;
}

qsizetype id3TerminatorLength(unsigned encoding) {
  return isWideEncoding(encoding) ? 2 : 1;
}

QString decodeID3String(const QByteArray& bytes, unsigned encoding) {
  switch (encoding) {
    case 1: {  // UTF-16 with byte order mark; without one, little-endian
      if (bytes.size() >= 2 && byteAt(bytes, 0) == 0xFE && byteAt(bytes, 1) == 0xFF) {
        return fromUtf16(bytes.mid(2), true);
      }
      if (bytes.size() >= 2 && byteAt(bytes, 0) == 0xFF && byteAt(bytes, 1) == 0xFE) {
        return fromUtf16(bytes.mid(2), false);
      }
      return fromUtf16(bytes, false);
    }
    case 2:
      return fromUtf16(bytes, true);
    case 3:
      return QString::fromUtf8(bytes);
    default:
      return QString::fromLatin1(bytes);
  }
}

QStringList decodeID3Strings(const QByteArray& data, qsizetype from, unsigned encoding) {
  QStringList strings;
  qsizetype position = from;
  while (position < data.size()) {
    const qsizetype end = id3TerminatorAt(data, position, encoding);
    strings.append(decodeID3String(data.mid(position, end - position), encoding));
    position = end + id3TerminatorLength(encoding);
  }
  return strings;
}

char id3V23EncodingFor(const QStringList& texts) {
  for (const QString& text : texts) {
    if (!fitsLatin1(text)) return 1;
  }
  return 0;
}

QByteArray encodeID3String(const QString& text, char encoding, bool terminated) {
  if (encoding == 0) {
    QByteArray bytes = text.toLatin1();
    if (terminated) bytes.append('\0');
    return bytes;
  }
  QByteArray bytes = QByteArray("\xFF\xFE", 2) + toUtf16LE(text);
  if (terminated) bytes.append(2, '\0');
  return bytes;
}

}  // namespace tarvex
