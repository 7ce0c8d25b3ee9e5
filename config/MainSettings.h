#pragma once

#include <QString>

#include "config/SettingsSchema.h"
#include "config/SplitFunction.h"

namespace tarvex {

// The choices the main window keeps between runs: what a job is planned
// from, the output format and the skin flag. The settings file's keys for
// them are the schema's main-window group; the settings dialog edits them.
struct MainSettings {
  SplitFunction splitFunction = SplitFunction::Custom;
  QString outputDir;  // ends with the native separator once loaded
  int pieceSeconds = 60;
  int pieceCount = 6;
  bool fadeIn = false;
  bool fadeOut = false;
  int fadeInSeconds = 5;
  int fadeOutSeconds = 5;
  bool skinFlag = false;
  bool namePiecesByTitle = false;  // pieces of titled ranges named "{n:02} {title}"
  int formatIndex = 0;             // the format selector's row: 0 MP3 .. 4 MP3 (no re-encode)

  bool operator==(const MainSettings&) const = default;
};

// The main-window group of keys as the struct holds them, and back. A
// function number the program does not know reads as Custom.
MainSettings mainSettingsFrom(const SettingsValues& values);
SettingsValues settingsValuesOf(const MainSettings& settings);

// Appends the native separator when the folder text ends with no separator.
QString withTrailingSeparator(const QString& folder);

}  // namespace tarvex
