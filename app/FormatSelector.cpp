#include "app/FormatSelector.h"

#include <QAbstractItemView>
#include <QStyleOptionComboBox>
#include <QStylePainter>

namespace tarvex {

FormatSelector::FormatSelector(const QStringList& captions, const QStringList& faces,
                               QWidget* parent)
    : QComboBox(parent), faces_(faces) {
  addItems(captions);
  setToolTip(currentText());
  connect(this, &QComboBox::currentIndexChanged, this, [this] { setToolTip(currentText()); });
}

namespace {

constexpr int kBorrowedMargin = 4;

QRect textField(const QComboBox& box, const QStyleOptionComboBox& option) {
  return box.style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField,
                                     &box);
}

}  // namespace

QString FormatSelector::faceText() const {
  QStyleOptionComboBox option;
  initStyleOption(&option);
  if (fontMetrics().horizontalAdvance(currentText()) <= textField(*this, option).width()) {
    return currentText();
  }
  const int row = currentIndex();
  return row >= 0 && row < faces_.size() ? faces_.at(row) : currentText();
}

QFont FormatSelector::faceFont(const QString& face, int width) const {
  // A face that still does not fit is set condensed, and smaller down to a
  // size that stays readable.
  QFont font = this->font();
  if (QFontMetrics(font).horizontalAdvance(face) <= width) return font;
  font.setFamily(QStringLiteral("DejaVu Sans Condensed"));
  const int smallest = 8;
  while (QFontMetrics(font).horizontalAdvance(face) > width && font.pixelSize() > smallest) {
    font.setPixelSize(font.pixelSize() - 1);
  }
  return font;
}

void FormatSelector::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionComboBox option;
  initStyleOption(&option);
  const QString face = faceText();
  if (face == currentText()) {
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
    return;
  }
  // A short face may also use the field's inner margins.
  option.currentText.clear();
  painter.drawComplexControl(QStyle::CC_ComboBox, option);
  painter.drawControl(QStyle::CE_ComboBoxLabel, option);
  const QRect field = textField(*this, option).adjusted(-kBorrowedMargin, 0, kBorrowedMargin, 0);
  painter.setFont(faceFont(face, field.width()));
  painter.setPen(
      palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
  painter.drawText(field, Qt::AlignVCenter | Qt::AlignLeft,
                   painter.fontMetrics().elidedText(face, Qt::ElideRight, field.width()));
}

void FormatSelector::showPopup() {
  // The open list is as wide as its longest caption, however narrow the box.
  view()->setMinimumWidth(view()->sizeHintForColumn(0) + 2 * view()->frameWidth() + 8);
  QComboBox::showPopup();
}

}  // namespace tarvex
