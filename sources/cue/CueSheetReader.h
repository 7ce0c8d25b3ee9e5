#pragma once

#include <QByteArray>
#include <QString>

#include "sources/cue/CueSheet.h"

namespace tarvex {

// The largest sheet read: a full CD's sheet is a few kilobytes.
constexpr qint64 kMaxCueSheetBytes = 1024 * 1024;

// Reads a CUE sheet as the common ripping and burning tools write it: FILE,
// TRACK, INDEX (mm:ss:ff, 75 frames to the second, several per track), TITLE,
// PERFORMER and SONGWRITER at sheet and track level, REM GENRE/DATE/COMMENT
// (other REM lines and commands we do not use are skipped). Keywords are
// matched regardless of case; texts may be quoted or bare.
//
// The text is UTF-8 when it is valid UTF-8 (a byte-order mark is skipped),
// UTF-16 when it starts with a UTF-16 byte-order mark, and otherwise the
// Windows Western code page (Latin-1 with the printable 0x80-0x9F range).
//
// Throws CueSheetError, naming the file and line, for a file that is missing,
// unreadable, larger than kMaxCueSheetBytes, binary, malformed (a bad time, an
// INDEX outside a TRACK, a TRACK before any FILE, starts going backwards) or
// that lists no track or a track without INDEX 01.
CueSheet readCueSheet(const QString& path);

// The same for bytes already in memory; `path` only names the sheet in messages.
CueSheet parseCueSheet(const QByteArray& bytes, const QString& path);

// The sheet's bytes as text, by the rules above (exposed for tests).
QString decodeCueText(const QByteArray& bytes);

}  // namespace tarvex
