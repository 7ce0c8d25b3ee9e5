#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace tarvex {

// A pair of up/down arrows bound to an edit field (its buddy). The position
// stays within [minimum, maximum]; the buddy shows it as decimal text.
// Reading the position takes in what was typed into the buddy (clamped), so a
// value typed by hand counts like one reached with the arrows.
class UpDown : public QWidget {
  Q_OBJECT

 public:
  UpDown(QLineEdit* buddy, int minimum, int maximum, QWidget* parent = nullptr);

  int position() const;
  void setPosition(int value);  // clamped into the range
  int minimum() const { return minimum_; }
  int maximum() const { return maximum_; }

  void stepBy(int steps);
  QToolButton* upButton() const { return up_; }
  QToolButton* downButton() const { return down_; }

  // Brings the buddy's text into the range: above the maximum becomes the
  // maximum, below the minimum the minimum, and a text that is not a number
  // shows the last position again.
  void normalizeBuddyText();

 protected:
  void changeEvent(QEvent* event) override;

 private:
  QLineEdit* buddy_;
  QToolButton* up_;
  QToolButton* down_;
  int minimum_;
  int maximum_;
  int position_;
};

}  // namespace tarvex
