#include "app/views/ListRows.h"

#include <QTreeWidget>

namespace tarvex {

int selectedRow(const QTreeWidget& list) {
  const QList<QTreeWidgetItem*> selected = list.selectedItems();
  if (selected.isEmpty()) return -1;
  return list.indexOfTopLevelItem(selected.front());
}

void selectRow(QTreeWidget& list, int row) {
  QTreeWidgetItem* item = list.topLevelItem(row);
  list.clearSelection();
  if (item == nullptr) return;
  list.setCurrentItem(item);
  item->setSelected(true);
  list.scrollToItem(item);
}

}  // namespace tarvex
