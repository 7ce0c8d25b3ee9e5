#pragma once

#include <QString>

#include "components/skin/SkinDocument.h"

namespace tarvex::skin {

// Largest skin text accepted, in bytes; anything bigger is not a skin file.
inline constexpr qint64 kMaxSkinFileBytes = 1024 * 1024;

// Parses the text of a skin file (format: docs/skin-format.md). Throws
// SkinError whose message starts with "line N: " for the first fault found.
SkinDocument parseSkinText(const QString& text);

}  // namespace tarvex::skin
