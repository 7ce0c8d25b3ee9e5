#include "tags/FileTags.h"

#include <QFileInfo>

#include "tags/ID3Tags.h"
#include "tags/OggComments.h"
#include "tags/SourceTagReader.h"
#include "tags/TagError.h"
#include "tags/WmaAttributes.h"

namespace tarvex {

namespace {

QString extensionOf(const QString& path) {
  return QFileInfo(path).suffix().toLower();
}

void requireReadable(const QString& path) {
  const QFileInfo file(path);
  if (!file.exists()) {
    throw TagError(QStringLiteral("Cannot open %1: no such file").arg(path));
  }
  if (!file.isFile() || !file.isReadable()) {
    throw TagError(QStringLiteral("Cannot open %1: not a readable file").arg(path));
  }
}

}  // namespace

QString tagFamily(const QString& path) {
  const QString extension = extensionOf(path);
  if (extension == QLatin1String("mp3")) return QStringLiteral("ID3");
  if (extension == QLatin1String("ogg")) return QStringLiteral("Vorbis comments");
  if (extension == QLatin1String("wma")) return QStringLiteral("WMA attributes");
  return {};
}

AudioFileinfo readFileTags(const QString& path) {
  requireReadable(path);
  // What a source gives its pieces is what the file's tags say: the same
  // reading rules (ID3v1 filling ID3v2's gaps, genre numbers as names, the
  // year of every tag version).
  return readSourceTags(path, false).info;
}

void writeFileTags(const QString& path, const AudioFileinfo& info) {
  requireReadable(path);
  const QString extension = extensionOf(path);
  if (extension == QLatin1String("mp3")) {
    ID3Tags id3;
    id3.ReadID3V2Tag(path);
    ID3StructV2 fields = id3.LastID3V2;  // keeps the track number
    fields.title = info.title;
    fields.artist = info.artist;
    fields.album = info.album;
    fields.year = info.year;
    fields.comment = info.comment;
    fields.genre = info.genre;
    id3.WriteID3V2Tag(path, fields);
  } else if (extension == QLatin1String("ogg")) {
    OGGTag tag;
    ReadOggComments(path, tag);
    tag.title = info.title;
    tag.artist = info.artist;
    tag.album = info.album;
    tag.date = info.year;
    tag.comment = info.comment;
    tag.genre = info.genre;
    WriteOggComments(path, tag);
  } else if (extension == QLatin1String("wma")) {
    WmaTagRecord record;
    ReadWmaAttributes(path, record);
    record.title = info.title;
    record.artist = info.artist;
    record.album = info.album;
    record.year = info.year;
    record.description = info.comment;
    record.genre = info.genre;
    fitWmaTagRecord(record);
    WriteWmaAttributes(path, record);
  } else {
    throw TagError(QStringLiteral("Cannot write tags to %1: only MP3, Ogg Vorbis and WMA files "
                                  "carry tags here")
                       .arg(path));
  }
}

}  // namespace tarvex
