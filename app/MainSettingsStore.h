#pragma once

#include <QString>

#include "config/MainSettings.h"
#include "config/SettingsFile.h"
#include "processing/JobPlanning.h"

namespace tarvex {

// The folder used when no output folder is stored: the user's music folder.
QString defaultOutputDir();

// Reads the main window's keys from one read of the file. An output format
// the program does not know (a hand edit, a later version) is MP3; an empty
// stored folder is `defaultFolder`. A missing output folder is created (one
// level), and the folder text ends with the native separator.
MainSettings LoadMainSettings(const SettingsFile& settings, const QString& defaultFolder);

// Writes the main window's keys in their table order, the output format last.
void SaveMainSettings(const SettingsFile& settings, const MainSettings& choices);

// What a job is planned from, as the choices stand now.
JobSettings jobSettingsOf(const MainSettings& choices);

}  // namespace tarvex
