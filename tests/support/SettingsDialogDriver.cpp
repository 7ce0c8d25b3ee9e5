#include "tests/support/SettingsDialogDriver.h"

#include <gtest/gtest.h>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <cstdlib>
#include <functional>

namespace tarvex::testing {

namespace {

// A check box or radio button takes clicks on its mark.
QPoint onTheMark(const QWidget& button) {
  return QPoint(6, button.height() / 2);
}

// The buttons of a radio group are named "<group>_<row>".
QRadioButton* radioRow(const QWidget& group, int row) {
  return group.findChild<QRadioButton*>(group.objectName() + QLatin1Char('_') +
                                        QString::number(row));
}

QTreeWidgetItem* findNode(const QTreeWidget& tree,
                          const std::function<bool(const QTreeWidgetItem&)>& wanted) {
  for (int top = 0; top < tree.topLevelItemCount(); ++top) {
    QTreeWidgetItem* item = tree.topLevelItem(top);
    if (wanted(*item)) return item;
    for (int child = 0; child < item->childCount(); ++child) {
      if (wanted(*item->child(child))) return item->child(child);
    }
  }
  return nullptr;
}

}  // namespace

void SettingsDialogDriver::open() {
  dialog_.show();
  dialog_.activateWindow();
  if (!QTest::qWaitForWindowActive(&dialog_)) ADD_FAILURE() << "the settings dialog is not active";
}

QString SettingsDialogDriver::pageTitle() const {
  return text(QStringLiteral("lab"));
}

QTreeWidget& SettingsDialogDriver::tree() const {
  return control<QTreeWidget>(QStringLiteral("TreeView1"));
}

QTreeWidgetItem* SettingsDialogDriver::node(const QString& caption, const QString& parent) const {
  return findNode(tree(), [&](const QTreeWidgetItem& item) {
    const QString above = item.parent() ? item.parent()->text(0) : QString();
    return item.text(0) == caption && above == parent;
  });
}

void SettingsDialogDriver::choosePage(const QString& caption, const QString& parent) {
  QTreeWidgetItem* item = node(caption, parent);
  if (item == nullptr) {
    throw std::runtime_error("no page node " + caption.toStdString() + " under " +
                             parent.toStdString());
  }
  QTreeWidget& pageTree = tree();
  // The arrow beside a closed node opens it.
  if (item->parent() != nullptr) pageTree.expandItem(item->parent());
  pageTree.scrollToItem(item);
  QTest::mouseClick(pageTree.viewport(), Qt::LeftButton, {},
                    pageTree.visualItemRect(item).center());
}

void SettingsDialogDriver::pressTreeKey(Qt::Key key) {
  QTest::keyClick(&tree(), key);
}

void SettingsDialogDriver::reach(QWidget& control) {
  QWidget* page = &control;
  while (page != nullptr && !page->property("pageTitle").isValid()) page = page->parentWidget();
  if (page == nullptr || page->isVisible()) return;
  QTreeWidgetItem* item = findNode(tree(), [page](const QTreeWidgetItem& candidate) {
    return candidate.data(0, Qt::UserRole).value<QObject*>() == page;
  });
  if (item == nullptr)
    throw std::runtime_error("no page node shows " + page->objectName().toStdString());
  choosePage(item->text(0), item->parent() ? item->parent()->text(0) : QString());
}

bool SettingsDialogDriver::usable(const QWidget& control) {
  if (control.isEnabled()) return true;
  ADD_FAILURE() << control.objectName().toStdString() << " is disabled";
  return false;
}

void SettingsDialogDriver::replaceText(const QString& name, const QString& text) {
  QWidget& field = *find(name);
  reach(field);
  if (!usable(field)) return;
  QTest::mouseClick(&field, Qt::LeftButton, {}, QPoint(4, field.height() / 2));
  if (auto* line = qobject_cast<QLineEdit*>(&field)) {
    // Backspace rather than select-all: a digits-only field takes no shortcuts.
    QTest::keyClick(line, Qt::Key_End);
    for (qsizetype left = line->text().size(); left > 0; --left) {
      QTest::keyClick(line, Qt::Key_Backspace);
    }
  } else {
    QTest::keyClick(&field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&field, Qt::Key_Delete);
  }
  QTest::keyClicks(&field, text);
}

void SettingsDialogDriver::typeKeys(const QString& name, const QString& keys) {
  QWidget& field = *find(name);
  if (usable(field)) QTest::keyClicks(&field, keys);
}

void SettingsDialogDriver::pressKey(const QString& name, Qt::Key key) {
  QWidget& field = *find(name);
  if (usable(field)) QTest::keyClick(&field, key);
}

void SettingsDialogDriver::leave(const QString& name) {
  QWidget& field = *find(name);
  if (!field.hasFocus()) ADD_FAILURE() << name.toStdString() << " has not the keyboard focus";
  QTest::keyClick(&field, Qt::Key_Tab);
}

void SettingsDialogDriver::tick(const QString& name, bool on) {
  auto& box = control<QAbstractButton>(name);
  reach(box);
  if (box.isChecked() == on || !usable(box)) return;
  QTest::mouseClick(&box, Qt::LeftButton, {}, onTheMark(box));
}

void SettingsDialogDriver::choose(const QString& name) {
  auto& button = control<QAbstractButton>(name);
  reach(button);
  if (usable(button)) QTest::mouseClick(&button, Qt::LeftButton, {}, onTheMark(button));
}

void SettingsDialogDriver::chooseRow(const QString& name, int row) {
  QWidget& widget = *find(name);
  reach(widget);
  if (!usable(widget)) return;
  if (auto* list = qobject_cast<QComboBox*>(&widget)) {
    QTest::keyClick(list, Qt::Key_Home);
    for (int down = 0; down < row; ++down) QTest::keyClick(list, Qt::Key_Down);
    return;
  }
  QRadioButton* radio = radioRow(widget, row);
  if (radio == nullptr) throw std::runtime_error(name.toStdString() + " has no such row");
  QTest::mouseClick(radio, Qt::LeftButton, {}, onTheMark(*radio));
}

void SettingsDialogDriver::step(const QString& name, int steps) {
  QWidget& arrows = *find(name);
  reach(arrows);
  const Qt::ArrowType direction = steps < 0 ? Qt::DownArrow : Qt::UpArrow;
  for (QToolButton* arrow : arrows.findChildren<QToolButton*>()) {
    if (arrow->arrowType() != direction) continue;
    if (!usable(*arrow)) return;
    for (int click = 0; click < std::abs(steps); ++click) QTest::mouseClick(arrow, Qt::LeftButton);
    return;
  }
  throw std::runtime_error(name.toStdString() + " has no arrows");
}

void SettingsDialogDriver::clickButton(const QString& name) {
  auto& button = control<QPushButton>(name);
  if (usable(button)) QTest::mouseClick(&button, Qt::LeftButton);
}

bool SettingsDialogDriver::pressEnter() {
  // The field with the caret passes Enter on to the dialog.
  QWidget* focus = dialog_.focusWidget();
  QTest::keyClick(focus != nullptr ? focus : &dialog_, Qt::Key_Return);
  return !dialog_.isVisible();
}

bool SettingsDialogDriver::clickOk() {
  clickButton(QStringLiteral("Ok"));
  return !dialog_.isVisible();
}

QString SettingsDialogDriver::text(const QString& name) const {
  QWidget* widget = find(name);
  if (auto* line = qobject_cast<QLineEdit*>(widget)) return line->text();
  if (auto* list = qobject_cast<QComboBox*>(widget)) return list->currentText();
  if (auto* spin = qobject_cast<QAbstractSpinBox*>(widget)) return spin->text();
  if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) return edit->toPlainText();
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
  if (auto* group = qobject_cast<QGroupBox*>(widget)) return group->title();
  throw std::runtime_error(name.toStdString() + " shows no text");
}

bool SettingsDialogDriver::checked(const QString& name) const {
  return control<QAbstractButton>(name).isChecked();
}

int SettingsDialogDriver::row(const QString& name) const {
  QWidget* widget = find(name);
  if (auto* list = qobject_cast<QComboBox*>(widget)) return list->currentIndex();
  for (int position = 0; QRadioButton* radio = radioRow(*widget, position); ++position) {
    if (radio->isChecked()) return position;
  }
  return -1;
}

int SettingsDialogDriver::rowCount(const QString& name) const {
  QWidget* widget = find(name);
  if (auto* list = qobject_cast<QComboBox*>(widget)) return list->count();
  int rows = 0;
  while (radioRow(*widget, rows) != nullptr) ++rows;
  return rows;
}

QString SettingsDialogDriver::rowText(const QString& name, int row) const {
  QWidget* widget = find(name);
  if (auto* list = qobject_cast<QComboBox*>(widget)) return list->itemText(row);
  QRadioButton* radio = radioRow(*widget, row);
  return radio ? radio->text() : QString();
}

bool SettingsDialogDriver::enabled(const QString& name) const {
  return find(name)->isEnabled();
}

bool SettingsDialogDriver::visible(const QString& name) const {
  return find(name)->isVisible();
}

QWidget* SettingsDialogDriver::find(const QString& name) const {
  auto* widget = dialog_.findChild<QWidget*>(name);
  if (widget == nullptr) {
    throw std::runtime_error("the settings dialog has no control " + name.toStdString());
  }
  return widget;
}

}  // namespace tarvex::testing
