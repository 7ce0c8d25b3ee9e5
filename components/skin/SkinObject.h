#pragma once

#include <QColor>
#include <QRect>
#include <QString>

namespace tarvex::skin {

class SkinWidget;

enum class SkinObjectKind {
  Button,  // clickable; raises OnClick
  Slider,  // position bar: maximum, page (thumb) size, position
  Text,    // a text display
  Frame,   // a rectangle whose extent the program sets (progress bar)
  Region,  // a place the program puts one of its own widgets (lists, format selector)
  Image,   // decoration drawn by the engine only
};

// One named object of the loaded skin. Owned by the SkinWidget that draws it;
// valid until the next skin is loaded.
class SkinObject {
 public:
  const QString& name() const { return name_; }
  SkinObjectKind kind() const { return kind_; }

  // Slider facet.
  int maximum() const { return maximum_; }
  void setMaximum(int value);
  int pageSize() const { return pageSize_; }
  void setPageSize(int value);
  int position() const { return position_; }
  void setPosition(int value);  // clamped to 0..maximum

  // Text facet.
  const QString& text() const { return text_; }
  void setText(const QString& text);

  // Frame facet: the rectangle in window pixels (left, top, right, bottom
  // inclusive as QRect keeps them).
  QRect rect() const { return rect_; }
  void setRect(const QRect& rect);
  void redraw();

 private:
  friend class SkinWidget;
  friend class SkinLoader;
  SkinWidget* owner_ = nullptr;
  QString name_;
  SkinObjectKind kind_ = SkinObjectKind::Image;
  QRect rect_;
  int maximum_ = 100;
  int pageSize_ = 0;
  int position_ = 0;
  QString text_;
};

}  // namespace tarvex::skin
