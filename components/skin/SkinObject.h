#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <vector>

namespace tarvex::skin {

class SkinWidget;
struct SkinObjectSpec;

enum class SkinObjectKind {
  Button,    // clickable; raises OnClick
  Slider,    // position bar: maximum, page (thumb) size, position
  Text,      // a text display
  Frame,     // a rectangle whose extent the program sets (progress bar)
  Region,    // a place the program puts one of its own widgets (lists, format selector)
  Image,     // decoration drawn by the engine only
  Waveform,  // a waveform picture with marked ranges and a play position
};

// A stretch of a waveform, as fractions of its width (0..1).
struct SkinWaveSpan {
  double begin = 0.0;
  double end = 0.0;
};

// One named object of the loaded skin. Owned by the SkinWidget that draws it;
// valid until the next skin is loaded. Every change schedules a repaint of the
// object; redraw() asks for one explicitly.
class SkinObject {
 public:
  const QString& name() const { return name_; }
  SkinObjectKind kind() const { return kind_; }

  // Slider facet. The usable span is maximum - pageSize (never below 0); the
  // position always stays within 0..span, also when the maximum or the page
  // size changes later.
  int maximum() const { return maximum_; }
  void setMaximum(int value);  // below 0 counts as 0
  int pageSize() const { return pageSize_; }
  void setPageSize(int value);  // below 0 counts as 0
  int position() const { return position_; }
  void setPosition(int value);  // clamped to 0..maximum - pageSize
  int span() const;             // maximum - pageSize, at least 0

  // Text facet.
  const QString& text() const { return text_; }
  void setText(const QString& text);

  // Frame facet: the rectangle in window pixels. A frame paints from left()
  // up to, not including, right(): right() == left() + w paints w columns, so
  // right() == left() shows nothing (the progress bar at 0).
  QRect rect() const { return rect_; }
  void setRect(const QRect& rect);
  // Moves the right edge to left() + pixels (below 0 counts as 0).
  void setFrameWidth(int pixels);
  void redraw();

  // Waveform facet: min/max peaks per column (any count; drawn stretched to
  // the object's width, values -1..1), the marked spans shaded behind them and
  // the play position (a fraction of the width; below 0: none).
  void setWaveform(std::vector<float> low, std::vector<float> high);
  const std::vector<float>& waveLow() const { return waveLow_; }
  const std::vector<float>& waveHigh() const { return waveHigh_; }
  void setWaveSpans(std::vector<SkinWaveSpan> spans);
  const std::vector<SkinWaveSpan>& waveSpans() const { return waveSpans_; }
  void setWaveCursor(double fraction);
  double waveCursor() const { return waveCursor_; }

  // How the skin file declares the object (style, label, symbol); for the
  // engine's drawing.
  const SkinObjectSpec& spec() const { return *spec_; }

 private:
  friend class SkinWidget;
  void changed();
  void clampPosition();

  SkinWidget* owner_ = nullptr;
  const SkinObjectSpec* spec_ = nullptr;
  QString name_;
  SkinObjectKind kind_ = SkinObjectKind::Image;
  QRect rect_;
  int maximum_ = 100;
  int pageSize_ = 0;
  int position_ = 0;
  QString text_;
  std::vector<float> waveLow_;
  std::vector<float> waveHigh_;
  std::vector<SkinWaveSpan> waveSpans_;
  double waveCursor_ = -1.0;
};

}  // namespace tarvex::skin
