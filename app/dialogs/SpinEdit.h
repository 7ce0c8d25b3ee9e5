#pragma once

#include <QSpinBox>

namespace tarvex {

// A whole-number field with arrows. While typing, any digits are accepted;
// when the field is left, a value outside the range becomes the nearest bound
// and a text that is not a whole number counts as 0.
class SpinEdit : public QSpinBox {
  Q_OBJECT

 public:
  SpinEdit(int minimum, int maximum, QWidget* parent = nullptr);

  QValidator::State validate(QString& text, int& position) const override;
  void fixup(QString& text) const override;
};

}  // namespace tarvex
