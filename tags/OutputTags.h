#pragma once

#include <QByteArray>
#include <QString>

#include "tags/AudioFileinfo.h"

namespace tarvex {

// Writes a finished output file's tags by its lower-cased extension: ".mp3"
// an ID3v2.3 tag, ".wma" WMA attributes, ".ogg" Vorbis comments; other files
// get none. Title, artist, album, year, genre, comment and the track ("n/N":
// ID3 TRCK and Ogg TRACKNUMBER as written, WM/TrackNumber the number n) are
// written, each only when not empty, then what the source's tag carries in
// that family (info.carried). Writer errors (TagError) pass through.
void WriteOutputTags(const QString& outputPath, const AudioFileinfo& info);

// The ID3v2.3 tag WriteOutputTags puts in front of an MP3 output, as bytes,
// for outputs that are written with their tag in place from the start.
QByteArray outputID3V23Tag(const AudioFileinfo& info);

}  // namespace tarvex
