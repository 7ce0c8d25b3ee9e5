#include "app/dialogs/DialogPlacement.h"

#include <QWidget>

namespace tarvex {

void PlaceOnParentCorner(QWidget& dialog) {
  QWidget* parent = dialog.parentWidget();
  if (!parent) return;
  dialog.move(parent->window()->frameGeometry().topLeft());
}

}  // namespace tarvex
