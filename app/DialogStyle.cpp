#include "app/DialogStyle.h"

namespace tarvex {

QString dialogStyleSheet(const QString& skinWidgetStyle) {
  return skinWidgetStyle +
         QStringLiteral(
             "QDialog { background: #262b32; color: #dfe3e8; }\n"
             "QLabel { color: #dfe3e8; background: transparent; }\n"
             "QGroupBox { border: 1px solid #3a414b; border-radius: 4px; margin-top: 2px; }\n"
             "QLineEdit, QPlainTextEdit { background: #1d2127; color: #dfe3e8;"
             " border: 1px solid #111418; border-radius: 3px; padding: 1px 3px;"
             " selection-background-color: #d9822b; selection-color: #1b1b1b; }\n"
             "QLineEdit:focus, QPlainTextEdit:focus { border: 1px solid #e9a04a; }\n"
             "QPushButton { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
             " stop:0 #3a414b, stop:1 #2c323a); color: #dfe3e8; border: 1px solid #111418;"
             " border-radius: 3px; padding: 2px 8px; }\n"
             "QPushButton:hover { border: 1px solid #e9a04a; }\n"
             "QPushButton:pressed { background: #d9822b; color: #1b1b1b; }\n"
             "QPushButton:default { border: 1px solid #d9822b; }\n"
             "QPushButton:focus { border: 1px solid #e9a04a; }\n");
}

}  // namespace tarvex
