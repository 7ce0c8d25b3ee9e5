#include "app/MenuKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QShortcut>
#include <QWidget>

namespace tarvex {

std::vector<CommandKey> commandKeys() {
  return {
      {QStringLiteral("F10"), Command::FileMenu},     {QStringLiteral("Alt+F"), Command::FileMenu},
      {QStringLiteral("Alt+A"), Command::ActionMenu}, {QStringLiteral("Alt+S"), Command::Settings},
      {QStringLiteral("Alt+H"), Command::HelpMenu},   {QStringLiteral("F1"), Command::Help},
      {QStringLiteral("Ctrl+O"), Command::AddFile},
  };
}

MenuKeys::MenuKeys(QWidget& window, const std::vector<QWidget*>& watched,
                   std::function<void(Command)> run)
    : QObject(&window), run_(std::move(run)) {
  for (const CommandKey& key : commandKeys()) {
    auto* shortcut = new QShortcut(QKeySequence(key.keys), &window);
    shortcut->setContext(Qt::WindowShortcut);
    const Command command = key.command;
    connect(shortcut, &QShortcut::activated, this, [this, command] { runFromKeyboard(command); });
  }
  for (QWidget* widget : watched) {
    if (widget != nullptr) widget->installEventFilter(this);
  }
}

void MenuKeys::runFromKeyboard(Command command) {
  run_(command);
  // Enter right away takes the first item, as in a menu bar.
  if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
    for (QAction* action : menu->actions()) {
      if (!action->isSeparator() && action->isEnabled()) {
        menu->setActiveAction(action);
        break;
      }
    }
  }
}

bool MenuKeys::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
    // Alt+F and the like reach the filter as a shortcut override, not as a press.
    const auto* key = static_cast<QKeyEvent*>(event);
    altAlone_ = key->key() == Qt::Key_Alt && (key->modifiers() & ~Qt::AltModifier) == 0;
  } else if (event->type() == QEvent::KeyRelease) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Alt && altAlone_ && !key->isAutoRepeat()) {
      altAlone_ = false;
      runFromKeyboard(Command::FileMenu);
      return true;
    }
    if (key->key() != Qt::Key_Alt) altAlone_ = false;
  } else if (event->type() == QEvent::FocusOut || event->type() == QEvent::MouseButtonPress) {
    altAlone_ = false;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace tarvex
