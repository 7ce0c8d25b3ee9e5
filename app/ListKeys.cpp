#include "app/ListKeys.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QTreeWidget>

#include "app/views/ListRows.h"

namespace tarvex {
namespace {

bool movesSelection(int key) {
  switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      return true;
    default:
      return false;
  }
}

}  // namespace

ListKeys::ListKeys(QTreeWidget& list, std::function<void()> chosen)
    : QObject(&list), list_(list), chosen_(std::move(chosen)) {
  list_.installEventFilter(this);
}

bool ListKeys::eventFilter(QObject* watched, QEvent* event) {
  if (forwarding_ || watched != &list_ || event->type() != QEvent::KeyPress ||
      !movesSelection(static_cast<QKeyEvent*>(event)->key())) {
    return QObject::eventFilter(watched, event);
  }
  // The list moves first; then the row it moved to is chosen.
  const int before = selectedRow(list_);
  forwarding_ = true;
  QCoreApplication::sendEvent(&list_, event);
  forwarding_ = false;
  if (selectedRow(list_) != before && selectedRow(list_) >= 0) chosen_();
  return true;
}

}  // namespace tarvex
