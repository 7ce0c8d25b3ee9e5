#pragma once

#include <QString>

#include "config/MainWindowState.h"
#include "config/SettingsFile.h"

namespace tarvex {

// The folder used when no output folder is stored: the user's music folder.
QString defaultOutputDir();

// Appends the native separator when the text does not end with one.
QString withTrailingSeparator(const QString& folder);

// Reads the main-window keys (the nine of the working state and the chosen
// output format) into the state, creates the output folder
// (one level) when it is missing, and makes the folder text end with the
// native separator.
void LoadMainSettings(const SettingsFile& settings, MainWindowState& state,
                      const QString& defaultFolder);

// Writes the main-window keys, in their table order, the output format last.
void SaveMainSettings(const SettingsFile& settings, const MainWindowState& state);

}  // namespace tarvex
