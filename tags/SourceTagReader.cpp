#include "tags/SourceTagReader.h"

#include <QFileInfo>

#include "tags/CleanName.h"
#include "tags/ID3Tags.h"
#include "tags/OggComments.h"
#include "tags/PieceCarriedTags.h"
#include "tags/TagError.h"
#include "tags/TagText.h"
#include "tags/WmaAttributes.h"

namespace tarvex {
namespace {

QString cleanTitle(const QString& title) {
  return trimTagText(CleanName(title));
}

QString orFallback(const QString& text, const QString& fallback) {
  return text.isEmpty() ? trimTagText(fallback) : text;
}

SourceTags readMp3Tags(const QString& path, bool fromFolder) {
  SourceTags result;
  ID3Tags id3;
  try {
    id3.ReadID3V1Tag(path);
  } catch (const TagError&) {
    if (!fromFolder) throw;  // a folder's file is judged by its probe alone
  }
  const ID3V1Block& v1 = id3.LastID3V1;
  if (!fromFolder) result.caption = cleanTitle(v1.title());
  id3.ReadID3V2Tag(path);
  const ID3StructV2& tag = id3.LastID3V2;
  const QString title = cleanTitle(tag.title);
  if (fromFolder) {
    if (!tag.title.isEmpty()) result.caption = tag.title;
  } else if (!title.isEmpty()) {
    result.caption = title;
  }
  // Each field the ID3v2 tag leaves empty comes from the ID3v1 tag.
  result.info.title = title.isEmpty() ? cleanTitle(v1.title()) : title;
  result.info.artist = orFallback(tag.artist, v1.artist());
  result.info.album = orFallback(tag.album, v1.album());
  result.info.year = orFallback(tag.year, v1.year());
  result.info.comment = orFallback(tag.comment, v1.comment());
  result.info.genre = orFallback(tag.genre, v1.genre());
  result.info.carried.id3Frames = id3FramesForPieces(tag.others);
  return result;
}

SourceTags readOggTags(const QString& path) {
  OGGTag tag;
  ReadOggComments(path, tag);
  SourceTags result;
  result.caption = cleanTitle(tag.title);
  result.info.title = result.caption;
  result.info.artist = tag.artist;
  result.info.album = tag.album;
  result.info.comment = tag.comment;
  result.info.genre = tag.genre;
  result.info.year = tag.date;
  result.info.carried.vorbisComments = vorbisCommentsForPieces(tag.others);
  return result;
}

SourceTags readWmaTags(const QString& path) {
  WmaTagRecord record;
  ReadWmaAttributes(path, record);
  SourceTags result;
  result.caption = cleanTitle(record.title);
  result.info.title = record.title;
  result.info.artist = record.artist;
  result.info.album = record.album;
  result.info.comment = record.description;
  result.info.genre = record.genre;
  result.info.year = record.year;
  result.info.carried.wmaAttributes = wmaAttributesForPieces(record.others);
  return result;
}

}  // namespace

SourceTags readSourceTags(const QString& path, bool fromFolder) {
  const QString extension = QFileInfo(path).suffix().toLower();
  if (extension == QLatin1String("mp3")) return readMp3Tags(path, fromFolder);
  if (fromFolder) return {};
  if (extension == QLatin1String("ogg")) return readOggTags(path);
  if (extension == QLatin1String("wma")) return readWmaTags(path);
  return {};
}

}  // namespace tarvex
