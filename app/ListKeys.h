#pragma once

#include <QObject>
#include <functional>

class QTreeWidget;

namespace tarvex {

// Moving through a list with the arrow keys (and Home, End, Page Up/Down)
// chooses the row as a click on it does: `chosen` runs once the list has moved
// its selection, and only when the selected row changed.
class ListKeys : public QObject {
  Q_OBJECT
 public:
  ListKeys(QTreeWidget& list, std::function<void()> chosen);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QTreeWidget& list_;
  std::function<void()> chosen_;
  bool forwarding_ = false;
};

}  // namespace tarvex
