#include "tags/OutputTags.h"

#include <QFileInfo>
#include <algorithm>

#include "tags/ID3Tags.h"
#include "tags/ID3V2Writer.h"
#include "tags/OggComments.h"
#include "tags/WmaAttributes.h"

namespace tarvex {

namespace {

ID3StructV2 id3Fields(const AudioFileinfo& info) {
  ID3StructV2 fields;
  fields.title = info.title;
  fields.artist = info.artist;
  fields.album = info.album;
  fields.year = info.year;
  fields.genre = info.genre;
  fields.track = info.track;
  fields.comment = info.comment;
  fields.others = info.carried.id3Frames;
  return fields;
}

}  // namespace

QByteArray outputID3V23Tag(const AudioFileinfo& info) {
  return buildID3V23Tag(id3Fields(info));
}

void WriteOutputTags(const QString& outputPath, const AudioFileinfo& info) {
  const QString extension = QFileInfo(outputPath).suffix().toLower();
  if (extension == QLatin1String("mp3")) {
    ID3Tags().WriteID3V2Tag(outputPath, id3Fields(info));
  } else if (extension == QLatin1String("wma")) {
    WmaTagRecord record;
    record.title = info.title;
    record.artist = info.artist;
    record.album = info.album;
    record.year = info.year;
    record.genre = info.genre;
    record.description = info.comment;
    record.others = info.carried.wmaAttributes;
    record.trackNumber = static_cast<quint16>(
        std::clamp(info.track.section(QLatin1Char('/'), 0, 0).trimmed().toInt(), 0, 65535));
    WriteWmaAttributes(outputPath, record);
  } else if (extension == QLatin1String("ogg")) {
    OGGTag tag;
    tag.title = info.title;
    tag.artist = info.artist;
    tag.album = info.album;
    tag.date = info.year;
    tag.genre = info.genre;
    tag.trackNumber = info.track;
    tag.comment = info.comment;
    tag.others = info.carried.vorbisComments;
    WriteOggComments(outputPath, tag);
  }
}

}  // namespace tarvex
