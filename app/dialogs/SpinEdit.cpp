#include "app/dialogs/SpinEdit.h"

#include <QRegularExpression>
#include <algorithm>

namespace tarvex {

SpinEdit::SpinEdit(int minimum, int maximum, QWidget* parent) : QSpinBox(parent) {
  setRange(minimum, maximum);
  setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
}

QValidator::State SpinEdit::validate(QString& text, int&) const {
  static const QRegularExpression wholeNumber(QStringLiteral("^-?[0-9]*$"));
  if (!wholeNumber.match(text).hasMatch()) return QValidator::Invalid;
  bool ok = false;
  const qlonglong value = text.toLongLong(&ok);
  if (!ok || value < minimum() || value > maximum()) return QValidator::Intermediate;
  return QValidator::Acceptable;
}

void SpinEdit::fixup(QString& text) const {
  bool ok = false;
  qlonglong value = text.toLongLong(&ok);
  if (!ok) value = 0;
  text = QString::number(std::clamp<qlonglong>(value, minimum(), maximum()));
}

}  // namespace tarvex
