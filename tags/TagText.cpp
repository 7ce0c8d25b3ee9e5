#include "tags/TagText.h"

namespace tarvex {

QString trimTagText(const QString& text) {
  qsizetype begin = 0;
  qsizetype end = text.size();
  while (begin < end && text.at(begin).unicode() <= 32) ++begin;
  while (end > begin && text.at(end - 1).unicode() <= 32) --end;
  return text.mid(begin, end - begin);
}

QString cutToUnits(const QString& text, qsizetype maxUnits) {
  if (maxUnits <= 0) return {};
  if (text.size() <= maxUnits) return text;
  qsizetype length = maxUnits;
  if (text.at(length - 1).isHighSurrogate()) --length;
  return text.left(length);
}

bool fitsLatin1(const QString& text) {
  for (const QChar c : text) {
    if (c.unicode() > 0xFF) return false;
  }
  return true;
}

QByteArray toUtf16LE(const QString& text) {
  QByteArray bytes;
  bytes.reserve(text.size() * 2);
  for (const QChar c : text) {
    const char16_t unit = c.unicode();
    bytes.append(static_cast<char>(unit & 0xFF));
    bytes.append(static_cast<char>(unit >> 8));
  }
  return bytes;
}

QString fromUtf16(const QByteArray& bytes, bool bigEndian) {
  QString text;
  text.reserve(bytes.size() / 2);
  for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    const char16_t unit = bigEndian ? static_cast<char16_t>((first << 8) | second)
                                    : static_cast<char16_t>((second << 8) | first);
    text.append(QChar(unit));
  }
  return text;
}

}  // namespace tarvex
