#pragma once

#include <QString>

#include "tags/AudioFileinfo.h"

namespace tarvex {

// The tag family a file carries by its lower-cased extension: "ID3" (.mp3),
// "Vorbis comments" (.ogg), "WMA attributes" (.wma), or empty for files whose
// tags the program does not handle.
QString tagFamily(const QString& path);

// Every field of a file's own tags, as they stand in the file: MP3 from the
// ID3v2 tag, each field missing there taken from ID3v1; Ogg from the Vorbis
// comments; WMA from the attributes (the description as the comment). Files
// of no tag family give empty fields. Throws TagError when the file cannot
// be read.
AudioFileinfo readFileTags(const QString& path);

// Sets the six fields of a file's own tags, keeping what else the tag holds
// (track numbers, other comments). An empty text removes a field. The file is
// rewritten through a temporary file; on failure it is left as it was and
// TagError is thrown, also for a file of no tag family.
void writeFileTags(const QString& path, const AudioFileinfo& info);

}  // namespace tarvex
