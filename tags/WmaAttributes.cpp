#include "tags/WmaAttributes.h"

#include <taglib/asffile.h>
#include <taglib/asftag.h>
#include <taglib/tbytevectorstream.h>
#include <taglib/tfilestream.h>

#include <QFile>

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

unsigned numberAttribute(const TagLib::ASF::Tag& tag, const char* name) {
  const TagLib::ASF::AttributeList values = tag.attribute(name);
  if (values.isEmpty() || values.front().type() != TagLib::ASF::Attribute::DWordType) return 0;
  return values.front().toUInt();
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
  found.description = fromTagLib(tag->comment());
  found.album = textAttribute(*tag, "WM/AlbumTitle");
  found.year = textAttribute(*tag, "WM/Year");
  found.genre = textAttribute(*tag, "WM/Genre");
  unsigned track = numberAttribute(*tag, "WM/TrackNumber");
  if (track == 0) track = numberAttribute(*tag, "WM/Track");
  found.trackNumber = static_cast<quint16>(track);
  fitWmaTagRecord(found);
  record = found;
  return true;
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
  if (!file.save()) throw TagError(errorPrefix + QStringLiteral("the header could not be rebuilt"));

  const TagLib::ByteVector* result = stream.data();
  const QByteArray bytes(result->data(), static_cast<qsizetype>(result->size()));
  replaceFileAtomically(path, errorPrefix, [&](QIODevice& out) {
    if (out.write(bytes) != bytes.size()) throw TagError(errorPrefix + out.errorString());
  });
  return true;
}

}  // namespace tarvex
