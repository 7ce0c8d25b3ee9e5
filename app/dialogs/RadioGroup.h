#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

namespace tarvex {

// A titled group of radio buttons laid out in columns (filled top to bottom,
// then left to right) whose choice is a 0-based row position, -1 for none.
// Its buttons are named after the group: "<name>_0", "<name>_1", ...
class RadioGroup : public QGroupBox {
  Q_OBJECT

 public:
  RadioGroup(const QString& name, const QString& title, const QStringList& rows, int columns,
             QWidget* parent = nullptr);

  int itemIndex() const;
  // A position above the last row chooses the last row; one below 0 chooses none.
  void setItemIndex(int position);
  int count() const;
  QRadioButton* button(int position) const;

 signals:
  // A row was clicked by the user.
  void clicked(int position);

 private:
  QButtonGroup* buttons_;
};

}  // namespace tarvex
