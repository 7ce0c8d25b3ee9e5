#include "components/skin/SkinStyleSheet.h"

#include <QFont>
#include <QWidget>

#include "components/skin/SkinDocument.h"

namespace tarvex::skin {

namespace {

QString css(const QColor& color) {
  if (color.alpha() == 255) return color.name(QColor::HexRgb);
  return QStringLiteral("rgba(%1, %2, %3, %4)")
      .arg(color.red())
      .arg(color.green())
      .arg(color.blue())
      .arg(color.alpha());
}

}  // namespace

QString makeWidgetStyleSheet(const SkinDocument& document) {
  auto color = [&](const char* name, const char* fallback) {
    return css(document.color(QString::fromLatin1(name), QColor(QString::fromLatin1(fallback))));
  };
  const QString base = color("widget-base", "#1d2127");
  const QString alternate = color("widget-alternate", "#22272e");
  const QString text = color("widget-text", "#dfe3e8");
  const QString muted = color("widget-muted-text", "#9aa3ae");
  const QString border = color("widget-border", "#111418");
  const QString grid = color("widget-grid", "#2c323a");
  const QString header = color("widget-header", "#2f353e");
  const QString headerText = color("widget-header-text", "#b4bcc7");
  const QString selection = color("widget-selection", "#d9822b");
  const QString selectionText = color("widget-selection-text", "#1b1b1b");
  const QString handle = color("widget-scroll-handle", "#4a525e");
  const QString handleHover = color("widget-scroll-handle-hover", "#5c6571");
  const QString focus = color("widget-focus", "#e9a04a");

  QString sheet;
  sheet +=
      QStringLiteral(
          "QTreeWidget, QTreeView, QListView {"
          " background: %1; alternate-background-color: %2; color: %3;"
          " border: 1px solid %4; gridline-color: %5;"
          " selection-background-color: %6; selection-color: %7;"
          " font-family: 'DejaVu Sans Condensed'; font-size: 10px; outline: 0; }\n"
          "QTreeWidget::item, QTreeView::item { height: 18px; border-bottom: 1px solid %5; "
          "padding: 0 1px; }\n"
          "QTreeWidget::item:selected, QTreeView::item:selected { background: %6; color: %7; }\n"
          "QTreeWidget:focus, QTreeView:focus { border: 1px solid %8; }\n")
          .arg(base, alternate, text, border, grid, selection, selectionText, focus);
  sheet += QStringLiteral(
               "QHeaderView { background: %1; border: none; }\n"
               "QHeaderView::section { background: %1; color: %2; border: none;"
               " border-right: 1px solid %3; border-bottom: 1px solid %3; padding: 2px 4px;"
               " font-family: 'DejaVu Sans Condensed'; font-size: 10px; font-weight: bold; }\n")
               .arg(header, headerText, border);
  sheet += QStringLiteral(
               "QComboBox { background: %1; color: %2; border: 1px solid %3; border-radius: 3px;"
               " padding: 1px 6px; font-family: 'DejaVu Sans'; font-size: 11px; }\n"
               "QComboBox:hover, QComboBox:focus { border: 1px solid %4; }\n"
               "QComboBox QAbstractItemView { background: %1; color: %2; border: 1px solid %3;"
               " selection-background-color: %5; selection-color: %6; outline: 0; }\n")
               .arg(base, text, border, focus, selection, selectionText);
  sheet += QStringLiteral(
               "QPlainTextEdit { background: %1; color: %2; border: 1px solid %3; }\n"
               "QPlainTextEdit:disabled { background: %1; color: %2; }\n")
               .arg(base, muted, border);
  sheet += QStringLiteral(
               "QScrollBar:vertical { background: %1; width: 10px; margin: 0; border: none; }\n"
               "QScrollBar:horizontal { background: %1; height: 10px; margin: 0; border: none; }\n"
               "QScrollBar::handle:vertical { background: %2; min-height: 18px; border-radius: "
               "4px; margin: 1px; }\n"
               "QScrollBar::handle:horizontal { background: %2; min-width: 18px; border-radius: "
               "4px; margin: 1px; }\n"
               "QScrollBar::handle:hover { background: %3; }\n"
               "QScrollBar::add-line, QScrollBar::sub-line { width: 0; height: 0; border: none; "
               "background: none; }\n"
               "QScrollBar::add-page, QScrollBar::sub-page { background: none; }\n")
               .arg(alternate, handle, handleHover);
  return sheet;
}

void giveControlsDialogFont(QWidget& dialog, const QFont& font) {
  for (QWidget* control : dialog.findChildren<QWidget*>()) {
    if (!control->testAttribute(Qt::WA_SetFont)) control->setFont(font);
  }
}

}  // namespace tarvex::skin
