#include "app/dialogs/RadioGroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

namespace tarvex {

RadioGroup::RadioGroup(const QString& name, const QString& title, const QStringList& rows,
                       int columns, QWidget* parent)
    : QGroupBox(title, parent), buttons_(new QButtonGroup(this)) {
  setObjectName(name);
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(6, 2, 4, 2);
  grid->setHorizontalSpacing(4);
  grid->setVerticalSpacing(0);
  const int perColumn = (static_cast<int>(rows.size()) + columns - 1) / columns;
  for (int position = 0; position < rows.size(); ++position) {
    auto* radio = new QRadioButton(rows[position], this);
    radio->setObjectName(QStringLiteral("%1_%2").arg(objectName()).arg(position));
    buttons_->addButton(radio, position);
    grid->addWidget(radio, position % perColumn, position / perColumn);
  }
  connect(buttons_, &QButtonGroup::idClicked, this, &RadioGroup::clicked);
}

int RadioGroup::itemIndex() const {
  return buttons_->checkedId();
}

void RadioGroup::setItemIndex(int position) {
  if (position >= count()) position = count() - 1;
  if (position < 0) {
    // An exclusive group cannot uncheck its last checked button directly.
    buttons_->setExclusive(false);
    for (QAbstractButton* radio : buttons_->buttons()) radio->setChecked(false);
    buttons_->setExclusive(true);
    return;
  }
  buttons_->button(position)->setChecked(true);
}

int RadioGroup::count() const {
  return static_cast<int>(buttons_->buttons().size());
}

QRadioButton* RadioGroup::button(int position) const {
  return qobject_cast<QRadioButton*>(buttons_->button(position));
}

}  // namespace tarvex
