#pragma once

#include <QString>

namespace tarvex {

// The name of the skin file the window loads from its data folder.
inline const QString kSkinFileName = QStringLiteral("mp3enc.dll");

// The folder that holds the skin file and the help, ending with the native
// separator. In a build tree they lie beside the program; an installed
// program finds them in its data folder, `installedDataFolder` (relative to
// `programFolder`, as "../share/tarvex", or absolute). When neither holds the
// skin file, the program's own folder is given: the window then falls back to
// its built-in skin and says the file is missing.
QString programDataFolder(const QString& programFolder, const QString& installedDataFolder);

}  // namespace tarvex
