#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <optional>

namespace tarvex::skin {

// A flat colour or a top-to-bottom gradient.
struct SkinFill {
  QColor top;
  QColor bottom;
};

// The interaction state an object is drawn in.
enum class SkinDrawState { Normal, Hover, Pressed };

// The colours of one state; an unset value falls back to the normal state.
struct SkinStateLook {
  std::optional<SkinFill> fill;
  std::optional<QColor> border;
  std::optional<QColor> textColor;
  std::optional<QColor> symbolColor;
  std::optional<QColor> highlight;  // one-pixel inner line along the top edge
  std::optional<QColor> shadow;     // one-pixel line below the bottom edge
  std::optional<SkinFill> thumb;    // slider thumb
  std::optional<QColor> thumbBorder;
  std::optional<SkinFill> elapsed;  // slider groove left of the thumb

  // This look with every unset value taken from `base`.
  SkinStateLook over(const SkinStateLook& base) const;
};

enum class SkinSymbolPlacement { Left, Top };

// A named style of the skin file: how an object is drawn.
struct SkinStyle {
  QString name;
  SkinStateLook normal;
  SkinStateLook hover;
  SkinStateLook pressed;
  qreal borderWidth = 1.0;
  qreal radius = 0.0;
  QFont font;
  Qt::Alignment align = Qt::AlignCenter;
  Qt::TextElideMode elide = Qt::ElideRight;
  int padding = 4;
  int symbolSize = 12;
  SkinSymbolPlacement symbolPlacement = SkinSymbolPlacement::Left;
  QString ghostText;  // unlit "segments" drawn behind a display's text
  QColor ghostColor;
  int groove = 0;  // slider groove height; 0 uses the whole height
  int thumbMinWidth = 12;
  QColor waveColor = QColor(0x6c, 0xb4, 0xee);              // waveform peaks
  QColor waveMarkedColor = QColor(0x6c, 0xb4, 0xee, 0x40);  // shading of marked spans
  QColor waveCursorColor = QColor(0xff, 0xff, 0xff);        // play position line

  // The colours for `state`, completed from the normal state.
  SkinStateLook look(SkinDrawState state) const;
};

// The style an object without a style attribute gets.
SkinStyle defaultSkinStyle();

}  // namespace tarvex::skin
