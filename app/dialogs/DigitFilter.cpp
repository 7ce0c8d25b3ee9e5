#include "app/dialogs/DigitFilter.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>

namespace tarvex {

namespace {

bool keepsDialogMeaning(int key) {
  return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape ||
         key == Qt::Key_Tab || key == Qt::Key_Backtab;
}

}  // namespace

bool DigitFilter::eventFilter(QObject* watched, QEvent* event) {
  auto* edit = qobject_cast<QLineEdit*>(watched);
  if (!edit || event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  // Delete is an editing key, not a typed character.
  if (keepsDialogMeaning(key->key()) || key->key() == Qt::Key_Delete) return false;
  // Pasting would bring in characters that were never typed one by one.
  if (key->matches(QKeySequence::Paste)) {
    edit->backspace();
    return true;
  }
  const QString text = key->text();
  if (text.isEmpty()) return false;  // caret movement, modifiers alone
  if (text.size() == 1 && text[0] >= QLatin1Char('0') && text[0] <= QLatin1Char('9')) {
    return false;
  }
  if (!edit->isReadOnly()) edit->backspace();
  return true;
}

}  // namespace tarvex
