#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

#include "app/Command.h"

class QWidget;

namespace tarvex {

// A key that runs a window command without the mouse, and what the help calls it.
struct CommandKey {
  QString keys;  // in QKeySequence's portable text ("Alt+A", "F10")
  Command command;
};

// The menus' keys: F10 or Alt alone opens the File menu, Alt with a menu's
// first letter opens that menu (Alt+S the settings); F1 opens the help and
// Ctrl+O Add File. An open menu is walked with the arrow keys and Enter.
std::vector<CommandKey> commandKeys();

// Serves the command keys on `window` while it is active, and Alt pressed and
// released alone on any of `watched` (the widgets that take the focus).
class MenuKeys : public QObject {
  Q_OBJECT
 public:
  MenuKeys(QWidget& window, const std::vector<QWidget*>& watched, std::function<void(Command)> run);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Runs a command from the keyboard; a menu it opens starts on its first item.
  void runFromKeyboard(Command command);

  std::function<void(Command)> run_;
  bool altAlone_ = false;
};

}  // namespace tarvex
