#pragma once

#include <QString>

namespace tarvex {

// The folder that holds the settings file: TARVEX_CONFIG_DIR when set, else
// $XDG_CONFIG_HOME/tarvex, else ~/.config/tarvex. The folder is not created
// here; the first write creates it.
QString settingsFolder();

// The settings file "Quillmere.ini" in settingsFolder().
QString settingsFilePath();

}  // namespace tarvex
