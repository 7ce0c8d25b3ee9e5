#pragma once

class QTreeWidget;

namespace tarvex {

// Index of the selected row of a list, or -1.
int selectedRow(const QTreeWidget& list);
// Selects one row of a list (and makes it current); -1 clears the selection.
void selectRow(QTreeWidget& list, int row);

}  // namespace tarvex
