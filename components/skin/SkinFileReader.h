#pragma once

#include <QString>

#include "components/skin/SkinDocument.h"

namespace tarvex::skin {

// Reads and parses a skin file. Throws SkinError describing the fault (the
// file cannot be read, is too large, holds binary data, or its text is wrong
// at a given line); the caller adds the file's name.
SkinDocument readSkinFile(const QString& path);

// Parses the compiled-in default skin.
SkinDocument builtInSkinDocument();

}  // namespace tarvex::skin
