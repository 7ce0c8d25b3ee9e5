#pragma once

#include <QByteArray>
#include <QIODevice>

#include "tags/ID3StructV2.h"
#include "tags/ID3V2Frames.h"

namespace tarvex {

// Walks the ID3v2 tag at the start of the device. Frames that cannot be read
// (compressed, encrypted, malformed) are left out; a frame running past the
// tag ends the walk. Never throws.
ID3V2Frames readID3V2Frames(QIODevice& device);

// Index of the comment frame read as the file's comment (the one without a
// description first, then described ones; players' own data blocks never),
// or -1 when there is none.
qsizetype fileCommentFrame(const ID3V2Frames& tag);

// Reads the ID3v2 tag at the start of the device (positioned anywhere; the
// whole device is the file). Versions 2.3 and 2.4 are read, with
// unsynchronisation and extended headers; anything that is not a well-formed
// tag gives empty texts. Never throws.
ID3StructV2 parseID3V2Tag(QIODevice& device);

// Length in bytes of a well-formed ID3v2 tag (header, body and footer) that
// starts the data whose first bytes are head, or 0 when there is none. The tag
// must fit into fileSize bytes.
qint64 leadingID3V2TagLength(const QByteArray& head, qint64 fileSize);

}  // namespace tarvex
