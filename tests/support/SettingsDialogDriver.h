#pragma once

#include <QString>
#include <QWidget>
#include <Qt>
#include <stdexcept>

class QDialog;
class QTreeWidget;
class QTreeWidgetItem;

namespace tarvex::testing {

// Works the settings dialog the way a user does: picks a page in the tree,
// types into fields, ticks boxes, picks list rows and radio choices, steps
// the arrows and presses the buttons. Controls are named by their object
// names; a control on a page not on show is reached by choosing its page
// first, and a disabled control refuses the action (the test fails), as it
// would refuse the user.
class SettingsDialogDriver {
 public:
  explicit SettingsDialogDriver(QDialog& dialog) : dialog_(dialog) {}

  // Shows the dialog without blocking, as exec() would, and makes it the
  // active window so that leaving a field moves the keyboard focus.
  void open();

  // The title above the pages ("Set General", ...).
  QString pageTitle() const;
  // Clicks the tree node with this caption (under `parent`, top level when
  // empty), opening its parent node first as the user would.
  void choosePage(const QString& caption, const QString& parent = QString());
  // A key pressed in the page tree (it moves the tree's cursor without a click).
  void pressTreeKey(Qt::Key key);
  QTreeWidget& tree() const;
  QTreeWidgetItem* node(const QString& caption, const QString& parent = QString()) const;

  // Replaces the text of a line, number or text field by clicking into it,
  // deleting what it holds and typing `text` key by key.
  void replaceText(const QString& name, const QString& text);
  // Types at the caret of a field that already has the caret.
  void typeKeys(const QString& name, const QString& keys);
  void pressKey(const QString& name, Qt::Key key);
  // Leaves the field with Tab, as the user moves on.
  void leave(const QString& name);

  // Clicks a check box when its state differs from `on`.
  void tick(const QString& name, bool on = true);
  // Clicks a radio button on its mark.
  void choose(const QString& name);
  // Picks a row of a list with the keyboard (Home, then Down) or clicks a row
  // of a radio group.
  void chooseRow(const QString& name, int row);
  // Clicks an arrow of an up/down pair `steps` times (down for negative steps).
  void step(const QString& name, int steps);

  void clickButton(const QString& name);
  // Presses Enter where the caret is: a field passes it on to the dialog's
  // default button, and the field is not left.
  // Both return whether the dialog closed.
  bool pressEnter();
  bool clickOk();
  void clickDefault() { clickButton(QStringLiteral("Button2")); }
  void clickCancel() { clickButton(QStringLiteral("Cancel")); }

  // What the user sees of a control: its text (a list's shown row, a number
  // field's number), tick, chosen row (-1 for none), rows, enabled state.
  QString text(const QString& name) const;
  bool checked(const QString& name) const;
  int row(const QString& name) const;
  int rowCount(const QString& name) const;
  QString rowText(const QString& name, int row) const;
  bool enabled(const QString& name) const;
  bool visible(const QString& name) const;

  // The control itself, for what the operations above do not cover; throws
  // when the dialog holds no such control.
  template <typename Widget>
  Widget& control(const QString& name) const {
    auto* widget = qobject_cast<Widget*>(find(name));
    if (widget == nullptr) {
      throw std::runtime_error("the settings dialog's " + name.toStdString() + " is another kind");
    }
    return *widget;
  }

 private:
  QWidget* find(const QString& name) const;
  // Chooses the page that holds the control when another page is on show.
  void reach(QWidget& control);
  // Fails the test when the user could not act on the control.
  static bool usable(const QWidget& control);

  QDialog& dialog_;
};

}  // namespace tarvex::testing
