#include "app/dialogs/UpDown.h"

#include <QEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace tarvex {

UpDown::UpDown(QLineEdit* buddy, int minimum, int maximum, QWidget* parent)
    : QWidget(parent),
      buddy_(buddy),
      up_(new QToolButton(this)),
      down_(new QToolButton(this)),
      minimum_(minimum),
      maximum_(maximum),
      position_(minimum) {
  up_->setArrowType(Qt::UpArrow);
  down_->setArrowType(Qt::DownArrow);
  for (QToolButton* button : {up_, down_}) {
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(15, 10);
  }
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(up_);
  layout->addWidget(down_);
  setFixedWidth(15);
  connect(up_, &QToolButton::clicked, this, [this] { stepBy(1); });
  connect(down_, &QToolButton::clicked, this, [this] { stepBy(-1); });
  setPosition(minimum);
}

int UpDown::position() const {
  bool ok = false;
  const qlonglong typed = buddy_->text().trimmed().toLongLong(&ok);
  if (!ok) return position_;
  return static_cast<int>(std::clamp<qlonglong>(typed, minimum_, maximum_));
}

void UpDown::setPosition(int value) {
  position_ = std::clamp(value, minimum_, maximum_);
  buddy_->setText(QString::number(position_));
}

void UpDown::stepBy(int steps) {
  setPosition(position() + steps);
}

void UpDown::normalizeBuddyText() {
  setPosition(position());
}

void UpDown::changeEvent(QEvent* event) {
  // The arrows and their field are one control to the user.
  if (event->type() == QEvent::EnabledChange) buddy_->setEnabled(isEnabled());
  QWidget::changeEvent(event);
}

}  // namespace tarvex
