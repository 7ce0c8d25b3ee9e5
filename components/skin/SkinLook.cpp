#include "components/skin/SkinLook.h"

namespace tarvex::skin {

namespace {

template <typename T>
void fillFrom(std::optional<T>& value, const std::optional<T>& base) {
  if (!value) value = base;
}

}  // namespace

SkinStateLook SkinStateLook::over(const SkinStateLook& base) const {
  SkinStateLook result = *this;
  fillFrom(result.fill, base.fill);
  fillFrom(result.border, base.border);
  fillFrom(result.textColor, base.textColor);
  fillFrom(result.symbolColor, base.symbolColor);
  fillFrom(result.highlight, base.highlight);
  fillFrom(result.shadow, base.shadow);
  fillFrom(result.thumb, base.thumb);
  fillFrom(result.thumbBorder, base.thumbBorder);
  fillFrom(result.elapsed, base.elapsed);
  return result;
}

SkinStateLook SkinStyle::look(SkinDrawState state) const {
  switch (state) {
    case SkinDrawState::Hover:
      return hover.over(normal);
    case SkinDrawState::Pressed:
      // A pressed object is also under the mouse: pressed, then hover, then normal.
      return pressed.over(hover.over(normal));
    case SkinDrawState::Normal:
      break;
  }
  return normal;
}

SkinStyle defaultSkinStyle() {
  SkinStyle style;
  style.name = QStringLiteral("(default)");
  style.font = QFont(QStringLiteral("DejaVu Sans"));
  style.font.setPixelSize(12);
  style.normal.textColor = QColor(Qt::black);
  style.normal.symbolColor = QColor(Qt::black);
  return style;
}

}  // namespace tarvex::skin
