#pragma once

#include <QMenu>
#include <functional>

#include "app/Command.h"

namespace tarvex {

// The four popup menus of the main window. Each item's object name is its
// handler's name ("AddFile1", "Start1", ...), so tests and the dispatch can
// find it; triggering an item runs its command.
struct PopupMenus {
  QMenu* p_file = nullptr;
  QMenu* p_action = nullptr;
  QMenu* p_lv = nullptr;
  QMenu* p_help = nullptr;
};

PopupMenus createPopupMenus(QWidget* parent, const std::function<void(Command)>& run);

}  // namespace tarvex
