#pragma once

#include <QString>
#include <QWidget>
#include <memory>

#include "components/skin/SkinObject.h"

namespace tarvex::skin {

// The skin engine control: draws the main window's face from a skin file and
// reports clicks and drags on its named objects. Object names compare exactly,
// case included ("stop" and "Stop" are different objects).
class SkinWidget : public QWidget {
  Q_OBJECT
 public:
  explicit SkinWidget(QWidget* parent = nullptr);
  ~SkinWidget() override;

  // Loads a skin file. A missing file silently gives the built-in skin; a
  // broken one gives the built-in skin and returns a message naming the file
  // and the fault (empty when all went well).
  QString loadSkinFile(const QString& path);

  // Chooses the window layout to draw ("Plaskett"); returns false when the
  // skin has no layout of that name.
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

 signals:
  void OnClick(tarvex::skin::SkinObject* source);
  void OnMouseDown(tarvex::skin::SkinObject* source, Qt::MouseButton button, int x, int y);
  void OnMouseUp(tarvex::skin::SkinObject* source, Qt::MouseButton button, int x, int y);
  void OnScrollTrack(tarvex::skin::SkinObject* source, int newPosition);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace tarvex::skin
