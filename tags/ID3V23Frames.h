#pragma once

#include <QList>

#include "tags/CarriedTags.h"
#include "tags/ID3V2Frames.h"

namespace tarvex {

// The frames of a tag other than the program's fields (title, artist, album,
// track, year, genre, and the comment frame at index fileComment), as
// ID3v2.3 frames in the order read:
// - version 2.2 ids become their 2.3 names (a "PIC" an "APIC" with a MIME
//   type); 2.4 ids without a 2.3 name are kept when they are text frames,
//   except the tagging time; TDOR becomes TORY, TIPL and TMCL become IPLS;
//   RVA2, EQU2, ASPI, SEEK and SIGN are 2.4 binary frames 2.3 cannot hold;
// - texts are re-encoded in ISO-8859-1 or UTF-16 (2.3 has no UTF-8), and
//   the several values of a 2.4 text frame are joined by "/";
// - frames of unknown layout that hold UTF-8 or big-endian UTF-16 text, and
//   frames of unknown 2.2 ids, are left out.
QList<ID3Frame> otherID3V23Frames(const ID3V2Frames& tag, qsizetype fileComment);

}  // namespace tarvex
