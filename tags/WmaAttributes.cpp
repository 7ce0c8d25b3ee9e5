#include "tags/WmaAttributes.h"

#include <taglib/asffile.h>
#include <taglib/asftag.h>
#include <taglib/tbytevectorstream.h>
#include <taglib/tfilestream.h>

#include <QFile>

#include <algorithm>
#include <map>

#include "tags/AsfFallbackParser.h"
#include "tags/SafeFileWrite.h"
#include "tags/TagError.h"

namespace tarvex {
namespace {

QString fromTagLib(const TagLib::String& text) {
  return QString::fromUtf8(text.toCString(true));
}

TagLib::String toTagLib(const QString& text) {
  return TagLib::String(text.toUtf8().constData(), TagLib::String::UTF8);
}

QString textAttribute(const TagLib::ASF::Tag& tag, const char* name) {
  const TagLib::ASF::AttributeList values = tag.attribute(name);
  if (values.isEmpty() || values.front().type() != TagLib::ASF::Attribute::UnicodeType) return {};
  return fromTagLib(values.front().toString());
}

// The first of the attribute's text values that is not empty.
QString firstNonEmptyText(const TagLib::ASF::Tag& tag, const char* name) {
  for (const TagLib::ASF::Attribute& value : tag.attribute(name)) {
    if (value.type() != TagLib::ASF::Attribute::UnicodeType) continue;
    const QString text = fromTagLib(value.toString());
    if (!text.isEmpty()) return text;
  }
  return {};
}

unsigned numberAttribute(const TagLib::ASF::Tag& tag, const char* name) {
  const TagLib::ASF::AttributeList values = tag.attribute(name);
  if (values.isEmpty() || values.front().type() != TagLib::ASF::Attribute::DWordType) return 0;
  return values.front().toUInt();
}

// The attributes read into the record's fields.
bool isFieldAttribute(const TagLib::String& name) {
  for (const char* field : {"WM/AlbumTitle", "WM/Year", "WM/Genre", "WM/TrackNumber", "WM/Track",
                            "Description", "date", "year"}) {
    if (name == field) return true;
  }
  return false;
}

QList<WmaAttribute> otherAttributes(const TagLib::ASF::Tag& tag) {
  using TagLib::ASF::Attribute;
  QList<WmaAttribute> others;
  for (const auto& [name, values] : tag.attributeListMap()) {
    if (isFieldAttribute(name)) continue;
    for (const Attribute& value : values) {
      WmaAttribute other;
      other.name = QByteArray(name.toCString(true));
      other.type = static_cast<int>(value.type());
      switch (value.type()) {
        case Attribute::UnicodeType:
          other.value = QByteArray(value.toString().toCString(true));
          break;
        case Attribute::BytesType: {
          // A picture is held parsed; its bytes are rendered anew.
          const TagLib::ByteVector bytes =
              value.toPicture().isValid() ? value.toPicture().render() : value.toByteVector();
          other.value = QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
          break;
        }
        case Attribute::BoolType:
          other.value = QByteArray::number(value.toBool() ? 1 : 0);
          break;
        case Attribute::DWordType:
          other.value = QByteArray::number(value.toUInt());
          break;
        case Attribute::QWordType:
          other.value = QByteArray::number(value.toULongLong());
          break;
        case Attribute::WordType:
          other.value = QByteArray::number(value.toUShort());
          break;
        default:
          continue;  // GUIDs cannot be written back through the ASF writer
      }
      others.append(other);
    }
  }
  return others;
}

TagLib::ASF::Attribute attributeOf(const WmaAttribute& attribute) {
  using TagLib::ASF::Attribute;
  switch (attribute.type) {
    case Attribute::BytesType:
      return Attribute(TagLib::ByteVector(attribute.value.constData(),
                                          static_cast<unsigned>(attribute.value.size())));
    case Attribute::BoolType:
      return Attribute(attribute.value.toInt() != 0);
    case Attribute::DWordType:
      return Attribute(attribute.value.toUInt());
    case Attribute::QWordType:
      return Attribute(attribute.value.toULongLong());
    case Attribute::WordType:
      return Attribute(attribute.value.toUShort());
    default:
      return Attribute(TagLib::String(attribute.value.constData(), TagLib::String::UTF8));
  }
}

// Sets the record's other attributes, each name with all its values.
void setOtherAttributes(TagLib::ASF::Tag& tag, const QList<WmaAttribute>& others) {
  std::map<QByteArray, TagLib::ASF::AttributeList> byName;
  for (const WmaAttribute& attribute : others) {
    if (attribute.name.isEmpty()) continue;
    byName[attribute.name].append(attributeOf(attribute));
  }
  for (const auto& [name, values] : byName) {
    tag.setAttribute(TagLib::String(name.constData(), TagLib::String::UTF8), values);
  }
}

bool readWithTagLib(const QString& path, WmaTagRecord& record) {
#ifdef _WIN32
  TagLib::FileStream stream(reinterpret_cast<const wchar_t*>(path.utf16()), true);
#else
  TagLib::FileStream stream(QFile::encodeName(path).constData(), true);
#endif
  if (!stream.isOpen()) return false;
  TagLib::ASF::File file(&stream, false);
  const TagLib::ASF::Tag* tag = file.isValid() ? file.tag() : nullptr;
  if (!tag) return false;
  WmaTagRecord found;
  found.readFlag = true;
  found.title = fromTagLib(tag->title());
  found.artist = fromTagLib(tag->artist());
  // Some writers leave the header's description empty and put the comment
  // into a "Description" attribute instead.
  found.description = fromTagLib(tag->comment());
  if (found.description.isEmpty()) found.description = firstNonEmptyText(*tag, "Description");
  found.album = textAttribute(*tag, "WM/AlbumTitle");
  found.year = textAttribute(*tag, "WM/Year");
  // Files written by general-purpose muxers may name the year plainly.
  for (const char* name : {"date", "year"}) {
    if (found.year.isEmpty()) found.year = firstNonEmptyText(*tag, name);
  }
  found.genre = textAttribute(*tag, "WM/Genre");
  unsigned track = numberAttribute(*tag, "WM/TrackNumber");
  if (track == 0) track = numberAttribute(*tag, "WM/Track");
  found.trackNumber = static_cast<quint16>(track);
  found.others = otherAttributes(*tag);
  fitWmaTagRecord(found);
  record = found;
  return true;
}

quint64 littleEndianAt(const QByteArray& bytes, qsizetype at) {
  quint64 value = 0;
  for (int i = 7; i >= 0; --i) value = (value << 8) | static_cast<uchar>(bytes[at + i]);
  return value;
}

// The header's file properties object records the size of the whole file;
// rebuilding the header changes that size, and the ASF writer leaves the
// field as it was. Sets it to the size of `bytes` (unless the file is marked
// as a broadcast, where the field means nothing).
void refreshRecordedFileSize(QByteArray& bytes) {
  static const QByteArray headerId = QByteArray::fromHex("3026B2758E66CF11A6D900AA0062CE6C");
  static const QByteArray filePropertiesId =
      QByteArray::fromHex("A1DCAB8C47A9CF118EE400C00C205365");
  constexpr qsizetype kFileSizeAt = 40;
  constexpr qsizetype kFlagsAt = 88;
  if (bytes.size() < 30 || !bytes.startsWith(headerId)) return;
  const quint64 headerEnd = std::min<quint64>(littleEndianAt(bytes, 16), bytes.size());
  quint64 position = 30;
  while (position + 24 <= headerEnd) {
    const auto at = static_cast<qsizetype>(position);
    const quint64 size = littleEndianAt(bytes, at + 16);
    if (size < 24 || size > headerEnd - position) return;
    if (bytes.mid(at, 16) == filePropertiesId && size >= kFlagsAt + 4) {
      if (static_cast<uchar>(bytes[at + kFlagsAt]) & 0x01) return;  // broadcast
      auto fileSize = static_cast<quint64>(bytes.size());
      for (int i = 0; i < 8; ++i, fileSize >>= 8)
        bytes[at + kFileSizeAt + i] = static_cast<char>(fileSize & 0xFF);
      return;
    }
    position += size;
  }
}

}  // namespace

void ReadWmaAttributes(const QString& path, WmaTagRecord& record) {
  if (readWithTagLib(path, record)) return;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return;
  parseAsfFallback(file, record);
}

bool WriteWmaAttributes(const QString& path, const WmaTagRecord& record) {
  const QString errorPrefix = QStringLiteral("Cannot write the attributes of %1: ").arg(path);
  const QByteArray original = readWholeFile(path);
  TagLib::ByteVectorStream stream(
      TagLib::ByteVector(original.constData(), static_cast<unsigned>(original.size())));
  TagLib::ASF::File file(&stream, false);
  TagLib::ASF::Tag* tag = file.isValid() ? file.tag() : nullptr;
  if (!tag) throw TagError(errorPrefix + QStringLiteral("the file is not a WMA file"));

  WmaTagRecord fitted = record;
  fitWmaTagRecord(fitted);
  tag->setArtist(toTagLib(fitted.artist));
  tag->setTitle(toTagLib(fitted.title));
  tag->setAttribute("WM/AlbumTitle", TagLib::ASF::Attribute(toTagLib(fitted.album)));
  tag->setAttribute("WM/Year", TagLib::ASF::Attribute(toTagLib(fitted.year)));
  tag->setComment(toTagLib(fitted.description));
  tag->setAttribute("WM/Genre", TagLib::ASF::Attribute(toTagLib(fitted.genre)));
  tag->setAttribute("WM/TrackNumber",
                    TagLib::ASF::Attribute(static_cast<unsigned>(fitted.trackNumber)));
  setOtherAttributes(*tag, fitted.others);
  if (!file.save()) throw TagError(errorPrefix + QStringLiteral("the header could not be rebuilt"));

  const TagLib::ByteVector* result = stream.data();
  QByteArray bytes(result->data(), static_cast<qsizetype>(result->size()));
  refreshRecordedFileSize(bytes);
  replaceFileAtomically(path, errorPrefix, [&](QIODevice& out) {
    if (out.write(bytes) != bytes.size()) throw TagError(errorPrefix + out.errorString());
  });
  return true;
}

}  // namespace tarvex
