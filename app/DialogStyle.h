#pragma once

#include <QString>

namespace tarvex {

// The style of the main window's own dialogs (tag editor, about box): the
// skin's list and combo style (`skinWidgetStyle`) plus buttons, fields, labels
// and frames in the same dark colours.
QString dialogStyleSheet(const QString& skinWidgetStyle);

}  // namespace tarvex
