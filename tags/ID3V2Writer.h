#pragma once

#include <QByteArray>

#include "tags/ID3StructV2.h"

namespace tarvex {

// The most bytes a frame's text may take (byte order mark included).
inline constexpr int kID3MaxTextBytes = 255;

// Builds an ID3v2.3 tag holding the seven fields' frames in ID3FrameIds order,
// each only when its text is not empty, then fields.others as they are (frames
// that would take the tag past its 256 MB limit are left out), followed by ten
// bytes of padding; with no frame at all, no tag (empty bytes). A text that fits
// ISO-8859-1 is written in it (encoding 0x00), any other as UTF-16 with a byte
// order mark (encoding 0x01); texts are cut on a character boundary to
// kID3MaxTextBytes.
QByteArray buildID3V23Tag(const ID3StructV2& fields);

}  // namespace tarvex
