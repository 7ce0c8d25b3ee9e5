#pragma once

#include <QString>

#include "tags/AudioFileinfo.h"

namespace tarvex {

// What a source's tags give when it is added to the source list.
struct SourceTags {
  QString caption;  // the row caption taken from the tags; empty: keep the file name
  AudioFileinfo info;
};

// Reads the tags of a source by its lower-cased extension: ".mp3" the ID3v1
// title and then the ID3v2 tag, ".ogg" the Vorbis comments, ".wma" the WMA
// attributes; other files have none. Titles become captions with CleanName
// applied and trimmed. A source added from a folder (fromFolder) skips ID3v1
// and takes the ID3v2 title uncleaned as its caption. Throws TagError when an
// MP3 or Ogg file cannot be opened.
SourceTags readSourceTags(const QString& path, bool fromFolder);

}  // namespace tarvex
