#include "tags/OutputTags.h"

#include <QFileInfo>

#include "tags/ID3Tags.h"
#include "tags/OggComments.h"
#include "tags/WmaAttributes.h"

namespace tarvex {

void WriteOutputTags(const QString& outputPath, const AudioFileinfo& info) {
  const QString extension = QFileInfo(outputPath).suffix().toLower();
  if (extension == QLatin1String("mp3")) {
    ID3StructV2 fields;
    fields.title = info.title;
    fields.artist = info.artist;
    fields.album = info.album;
    fields.year = info.year;
    fields.genre = info.genre;
    ID3Tags().WriteID3V2Tag(outputPath, fields);
  } else if (extension == QLatin1String("wma")) {
    WmaTagRecord record;
    record.title = info.title;
    record.artist = info.artist;
    record.album = info.album;
    record.year = info.year;
    record.genre = info.genre;
    WriteWmaAttributes(outputPath, record);
  } else if (extension == QLatin1String("ogg")) {
    OGGTag tag;
    tag.title = info.title;
    tag.artist = info.artist;
    tag.album = info.album;
    tag.date = info.year;
    tag.genre = info.genre;
    WriteOggComments(outputPath, tag);
  }
}

}  // namespace tarvex
