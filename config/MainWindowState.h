#pragma once

#include <QString>

#include "config/SplitFunction.h"

namespace tarvex {

// The window-wide state every part of the main window shares. One instance,
// owned by the main window, used on the user-interface thread only.
struct MainWindowState {
  SplitFunction splitFunction = SplitFunction::Custom;
  QString outputDir;  // always ends with the native separator
  int pieceSeconds = 60;
  int pieceCount = 6;
  bool fadeIn = false;
  bool fadeOut = false;
  int fadeInSeconds = 5;
  int fadeOutSeconds = 5;
  bool skinFlag = false;
  bool namePiecesByTitle = false;  // pieces of titled ranges named "{n:02} {title}"
  int formatIndex = 0;             // the format selector's row: 0 MP3 .. 4 MP3 (no re-encode)
  bool jobRunning = false;
  bool IsPlaying = false;
  bool IsDragging = false;
  bool segmentFocus = false;
  int currentSource = 0;
  int currentSegment = 0;
  int PlaySource = 0;
  int BarPosition = 0;
  QString positionText;
};

}  // namespace tarvex
