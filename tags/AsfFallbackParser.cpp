#include "tags/AsfFallbackParser.h"

#include <QByteArray>

#include "tags/TagText.h"

namespace tarvex {
namespace {

constexpr char kHeaderGuid[] = "\xD1\x29\xE2\xD6\xDA\x35\xD1\x11\x90\x34\x00\xA0\xC9\x03\x49\xBE";
constexpr char kExtendedContentGuid[] =
    "\xD5\x29\xE2\xD6\xDA\x35\xD1\x11\x90\x34\x00\xA0\xC9\x03\x49\xBE";
constexpr qint64 kObjectHeaderSize = 24;
constexpr qint64 kStringBufferUnits = 512;

quint64 littleEndian(const QByteArray& bytes, int offset, int length) {
  quint64 value = 0;
  for (int i = length - 1; i >= 0; --i) {
    value = (value << 8) | static_cast<unsigned char>(bytes[offset + i]);
  }
  return value;
}

bool readExactly(QIODevice& device, qint64 size, QByteArray& out) {
  out = device.read(size);
  return out.size() == size;
}

// Reads a string of units UTF-16 code units; keeps at most 511 of them.
bool readString(QIODevice& device, quint64 units, QString& text) {
  text.clear();
  if (units == 0) return true;
  const qint64 kept =
      units < kStringBufferUnits ? static_cast<qint64>(units) : kStringBufferUnits - 1;
  QByteArray bytes;
  if (!readExactly(device, kept * 2, bytes)) return false;
  if (static_cast<quint64>(kept) < units && !device.seek(device.pos() + (units - kept) * 2)) {
    return false;
  }
  text = fromUtf16(bytes, false);
  const qsizetype zero = text.indexOf(QChar(u'\0'));
  if (zero >= 0) text.truncate(zero);
  return true;
}

void storeDescriptor(unsigned type, const QString& name, const QString& value,
                     WmaTagRecord& record) {
  switch (type) {
    case 1:
      record.artist = value;
      return;
    case 2:
      record.title = value;
      return;
    case 3:
      record.typeThreeText = value;
      return;
    case 4:
      record.description = value;
      return;
    default:
      break;
  }
  if (type < 100) return;
  if (name.compare(QLatin1String("WM/Track"), Qt::CaseInsensitive) == 0) {
    bool ok = false;
    const uint number = value.trimmed().toUInt(&ok, 10);
    record.trackNumber = ok && number <= 0xFFFF ? static_cast<quint16>(number) : 0;
  } else if (name.compare(QLatin1String("WM/Year"), Qt::CaseInsensitive) == 0) {
    record.year = value;
  } else if (name.compare(QLatin1String("WM/AlbumTitle"), Qt::CaseInsensitive) == 0) {
    record.album = value;
  }
}

// Reads the descriptors of one extended content description object; false
// when the data ends early.
bool readDescriptors(QIODevice& device, qint64 objectEnd, WmaTagRecord& record) {
  QByteArray bytes;
  if (!readExactly(device, 2, bytes)) return false;
  const quint64 count = littleEndian(bytes, 0, 2);
  for (quint64 i = 0; i < count; ++i) {
    if (device.pos() >= objectEnd) return true;
    if (!readExactly(device, 9, bytes)) return false;
    const auto type = static_cast<unsigned>(static_cast<unsigned char>(bytes[0]));
    const quint64 nameUnits = littleEndian(bytes, 5, 2);
    const quint64 valueUnits = littleEndian(bytes, 7, 2);
    QString name;
    QString value;
    if (!readString(device, nameUnits, name) || !readString(device, valueUnits, value)) {
      return false;
    }
    storeDescriptor(type, name, value, record);
  }
  return true;
}

}  // namespace

bool parseAsfFallback(QIODevice& device, WmaTagRecord& record) {
  if (!device.seek(0)) return false;
  QByteArray bytes;
  if (!readExactly(device, kObjectHeaderSize, bytes) ||
      !bytes.startsWith(QByteArray(kHeaderGuid, 16))) {
    return false;
  }
  WmaTagRecord found;
  found.readFlag = true;
  quint64 remaining = littleEndian(bytes, 16, 8);
  while (remaining > 0) {
    const qint64 objectStart = device.pos();
    if (!readExactly(device, kObjectHeaderSize, bytes)) break;
    const quint64 size = littleEndian(bytes, 16, 8);
    if (size == 0 || size > remaining || size < static_cast<quint64>(kObjectHeaderSize)) break;
    if (size > static_cast<quint64>(device.size())) break;
    remaining -= size;
    const qint64 objectEnd = objectStart + static_cast<qint64>(size);
    if (bytes.startsWith(QByteArray(kExtendedContentGuid, 16))) {
      if (!readDescriptors(device, objectEnd, found)) break;
    }
    if (!device.seek(objectEnd)) break;
  }
  fitWmaTagRecord(found);
  record = found;
  return true;
}

}  // namespace tarvex
