#pragma once

#include <QString>

namespace tarvex {

// The window-wide state every part of the main window shares. One instance,
// owned by the main window, used on the user-interface thread only.
struct MainWindowState {
  int functionChoice = 0;  // 0 Custom, 1 every N seconds, 2 N equal pieces, 3 Unification
  QString outputDir;       // always ends with the native separator
  int pieceSeconds = 60;
  int pieceCount = 6;
  bool fadeIn = false;
  bool fadeOut = false;
  int fadeInSeconds = 5;
  int fadeOutSeconds = 5;
  bool skinFlag = false;
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
