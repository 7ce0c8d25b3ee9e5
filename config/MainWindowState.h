#pragma once

#include <QString>

#include "config/MainSettings.h"

namespace tarvex {

// What the main window's parts share while it runs: the persisted choices
// (owned by the window: loaded at start, edited by the settings dialog,
// saved at close), the preview player's state and two answers the player
// reads here, each written by its owner alone. One instance, owned by the
// main window, used on the user-interface thread only.
struct MainWindowState : MainSettings {
  bool jobRunning = false;    // written by the job display alone (JobDisplay::running)
  bool segmentFocus = false;  // written by the segment list alone (SegmentList::hasFocus)
  bool IsPlaying = false;
  bool IsDragging = false;
  int PlaySource = 0;
  int BarPosition = 0;
  QString positionText;
};

}  // namespace tarvex
