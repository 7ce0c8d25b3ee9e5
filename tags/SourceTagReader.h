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
// and ID3v2 tags, ".ogg" the Vorbis comments, ".wma" the WMA attributes;
// other files have none. Titles become captions with CleanName applied and
// trimmed. An MP3 caption is the ID3v2 title, else the ID3v1 title; a source
// added from a folder (fromFolder) takes the ID3v2 title uncleaned and never
// the ID3v1 one. Every field an MP3's ID3v2 tag leaves empty (or the whole
// tag, when there is none) comes from its ID3v1 tag. The rest of the tag that
// pieces carry goes to info.carried (see PieceCarriedTags.h). Throws TagError when an
// MP3 or Ogg file cannot be opened.
SourceTags readSourceTags(const QString& path, bool fromFolder);

}  // namespace tarvex
