#pragma once

#include <QByteArray>
#include <QString>

namespace tarvex {

// Removes leading and trailing characters with codes 0 to 32.
QString trimTagText(const QString& text);

// The first at most maxUnits UTF-16 code units of text, never ending inside a
// surrogate pair.
QString cutToUnits(const QString& text, qsizetype maxUnits);

// True when every character of text has a code below 256.
bool fitsLatin1(const QString& text);

// Encodes text as UTF-16 little-endian without byte order mark.
QByteArray toUtf16LE(const QString& text);

// Decodes UTF-16 little- or big-endian bytes (an odd last byte is ignored).
QString fromUtf16(const QByteArray& bytes, bool bigEndian);

}  // namespace tarvex
