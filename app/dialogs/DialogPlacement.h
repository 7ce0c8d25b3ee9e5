#pragma once

class QWidget;

namespace tarvex {

// Moves a dialog so that its top-left corner lies on its parent window's
// top-left corner; a dialog without a parent stays where it is.
void PlaceOnParentCorner(QWidget& dialog);

}  // namespace tarvex
