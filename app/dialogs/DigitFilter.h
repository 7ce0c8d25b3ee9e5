#pragma once

#include <QObject>

namespace tarvex {

// Installed on a line edit: a typed character from "0" to "9" is entered;
// any other typed character (control characters included) acts as Backspace
// and removes the character before the caret. Return, Enter, Escape and Tab
// keep their dialog meaning.
class DigitFilter : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace tarvex
