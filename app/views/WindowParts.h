#pragma once

#include "config/MainSettings.h"
#include "app/views/ListRows.h"
#include "sources/SourceRecords.h"

class QTreeWidget;
class QWidget;

namespace tarvex {

class PlatformServices;

namespace skin {
class SkinObject;
}

// The six skin objects the program draws on; looked up once when the window is
// first shown (null when a skin lacks one).
struct SkinParts {
  skin::SkinObject* pb = nullptr;
  skin::SkinObject* timecaption = nullptr;
  skin::SkinObject* tataltime = nullptr;
  skin::SkinObject* nm = nullptr;
  skin::SkinObject* pbpos = nullptr;
  skin::SkinObject* convertpb = nullptr;
};

// The main window's pieces that the source list, segment list, player and
// runners work on. The main window owns every one of them and hands this
// bundle of references down.
struct WindowParts {
  QWidget* window = nullptr;         // parent of message boxes
  MainSettings* settings = nullptr;  // the persisted choices, the window's own
  PlatformServices* platform = nullptr;
  QTreeWidget* lv = nullptr;       // the source list
  QTreeWidget* lv_time = nullptr;  // the segment list
  QWidget* sm = nullptr;           // the instructions over the empty lists
  SkinParts skin;
  SourceRecords* sources = nullptr;  // one record per row of lv
};

}  // namespace tarvex
