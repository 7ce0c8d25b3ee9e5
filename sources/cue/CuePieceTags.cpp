#include "sources/cue/CuePieceTags.h"

namespace tarvex {

AudioFileinfo cuePieceTags(const AudioFileinfo& source, const CueSheet& sheet,
                           const TrackPiece& piece, int number, int count) {
  AudioFileinfo tags = source;
  const auto take = [](QString& field, const QString& value) {
    if (!value.isEmpty()) field = value;
  };
  take(tags.title, piece.title);
  take(tags.artist, piece.performer.isEmpty() ? sheet.performer : piece.performer);
  take(tags.album, sheet.title);
  if (tags.year.isEmpty()) tags.year = sheet.date;
  if (tags.genre.isEmpty()) tags.genre = sheet.genre;
  tags.track = QStringLiteral("%1/%2").arg(number).arg(count);
  return tags;
}

}  // namespace tarvex
