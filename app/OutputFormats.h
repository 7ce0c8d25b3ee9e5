#pragma once

#include <QString>
#include <QStringList>

#include "processing/EncoderProfile.h"

namespace tarvex {

// The output formats the window offers, in format-index order: the rows of
// the format selector and the filters of the join's save dialog.
inline QStringList outputFormatCaptions() {
  return {QStringLiteral("MP3"), QStringLiteral("WAV"), QStringLiteral("WMA"),
          QStringLiteral("OGG"), QStringLiteral("MP3 (no re-encode)")};
}

// What the closed selector shows for each row when its caption does not fit.
inline QStringList outputFormatFaces() {
  return {QStringLiteral("MP3"), QStringLiteral("WAV"), QStringLiteral("WMA"),
          QStringLiteral("OGG"), QStringLiteral("MP3 copy")};
}

inline QStringList joinSaveFilters() {
  return {QStringLiteral("MP3 Files(*.mp3)"), QStringLiteral("WAV Files(*.wav)"),
          QStringLiteral("WMA Files(*.wma)"), QStringLiteral("OGG Files(*.ogg)"),
          QStringLiteral("MP3 Files, no re-encode(*.mp3)")};
}

// A stored or reported format index, or MP3 when it names no format.
inline int knownFormatIndex(int index) {
  return index >= 0 && index < kFormatCount ? index : kFormatMp3;
}

}  // namespace tarvex
