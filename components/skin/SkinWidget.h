#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <memory>
#include <vector>

#include "components/skin/SkinObject.h"

class QPainter;

namespace tarvex::skin {

// The skin engine control: draws the main window's face from a skin file and
// reports clicks and drags on its named objects. Object names compare exactly,
// case included ("stop" and "Stop" are different objects).
//
// The keyboard reaches every button and slider: Tab enters the skin and moves
// through them in the order the skin declares them (Shift+Tab back), then on
// to the next widget of the window; the one with the focus is ringed; Space
// or Enter presses a button; the arrow keys, Page Up/Down, Home and End move
// a slider. Screen readers see each object by its caption.
class SkinWidget : public QWidget {
  Q_OBJECT
 public:
  explicit SkinWidget(QWidget* parent = nullptr);
  ~SkinWidget() override;

  // Loads a skin file and selects its first layout (or the layout of the
  // current name, when the new skin has one). A missing file silently gives
  // the built-in skin; a broken one gives the built-in skin and returns a
  // message naming the file and the fault (empty when all went well). Every
  // SkinObject pointer handed out before is invalid afterwards.
  QString loadSkinFile(const QString& path);

  // Chooses the window layout to draw ("Plaskett"); returns false (and keeps
  // the current layout) when the skin has no layout of that name. Selecting
  // a layout creates its objects afresh.
  bool selectLayout(const QString& layoutName);

  // The named object of the selected layout, or nullptr.
  SkinObject* findObject(const QString& name) const;

  // Size of the selected layout's client area.
  QSize layoutSize() const;

  // Style sheet for the program's own widgets placed over the skin (lists,
  // format selector, instructions), in the skin's colours.
  QString widgetStyleSheet() const;

  // Requests a repaint of one object.
  void redrawObject(const SkinObject& object);

  // Names the objects a layout must hold for the program to work. A skin file
  // whose layout lacks one of them (or the layout itself) counts as broken:
  // loadSkinFile then falls back to the built-in skin and says what is missing.
  void setRequiredObjects(const QString& layoutName, const QStringList& objectNames);

  // The selected layout's name and the skin's title.
  QString layoutName() const;
  QString skinTitle() const;

  // Where an object is drawn, in this widget's coordinates (empty when there
  // is no such object). For a frame it is the painted part. Tests click the
  // centre of this rectangle.
  QRect objectRect(const QString& name) const;
  // Where the thumb of a slider stands now (empty for anything else).
  QRect sliderThumbRect(const QString& name) const;

  QSize sizeHint() const override;

  // The buttons and sliders in Tab order (the order the layout declares them).
  std::vector<SkinObject*> focusChain() const;
  // The objects a screen reader is told of: all but decoration and the places
  // of the program's own widgets, in drawing order.
  std::vector<SkinObject*> accessibleObjects() const;
  // The object the keyboard acts on while this widget has the focus (null:
  // none yet). Setting one outside the focus chain is ignored.
  SkinObject* focusedObject() const;
  void setFocusedObject(SkinObject* object);
  // What Space does on a button: OnClick, as a click would.
  void activateObject(SkinObject* object);
  // What the keys do on a slider: the position set, then OnKeyMove if it changed.
  void moveSliderTo(SkinObject* object, int position);

 signals:
  // A button was pressed and released over itself with the left button.
  void OnClick(tarvex::skin::SkinObject* source);
  // A mouse button went down / up on a button or slider; x and y are this
  // widget's coordinates. The up event goes to the object the press hit.
  void OnMouseDown(tarvex::skin::SkinObject* source, Qt::MouseButton button, int x, int y);
  void OnMouseUp(tarvex::skin::SkinObject* source, Qt::MouseButton button, int x, int y);
  // A slider's position changed by the mouse (thumb dragged, or a click on
  // the track beside the thumb moved it by a page); the position is already set.
  void OnScrollTrack(tarvex::skin::SkinObject* source, int newPosition);
  // A slider's position changed by the keyboard (or a screen reader); the
  // position is already set.
  void OnKeyMove(tarvex::skin::SkinObject* source, int newPosition);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  void endLostGrab(const QPoint& point);
  void paintFocusRing(QPainter& painter);

  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace tarvex::skin
