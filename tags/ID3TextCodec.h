#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tarvex {

// Text inside ID3v2 frames: each string is in the frame's encoding, 0
// ISO-8859-1, 1 UTF-16 with byte order mark, 2 UTF-16 big-endian, 3 UTF-8.

// Index of the terminator of the string that starts at from, or the data's end.
qsizetype id3TerminatorAt(const QByteArray& data, qsizetype from, unsigned encoding);

// Bytes a terminator takes in the encoding (2 for UTF-16, else 1).
qsizetype id3TerminatorLength(unsigned encoding);

// Decodes one string's bytes (without terminator). UTF-16 without a byte
// order mark is read as little-endian.
QString decodeID3String(const QByteArray& bytes, unsigned encoding);

// Every string from `from` to the end of data, split at terminators; a
// terminator at the very end starts no further string.
QStringList decodeID3Strings(const QByteArray& data, qsizetype from, unsigned encoding);

// The encoding an ID3v2.3 frame holding all of texts is written in: 0 when
// every text fits ISO-8859-1, else 1.
char id3V23EncodingFor(const QStringList& texts);

// One string in encoding 0 or 1 (with its byte order mark), with or without
// its terminator.
QByteArray encodeID3String(const QString& text, char encoding, bool terminated);

}  // namespace tarvex
