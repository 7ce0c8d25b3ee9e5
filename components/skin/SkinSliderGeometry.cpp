#include "components/skin/SkinSliderGeometry.h"

#include <algorithm>
#include <cmath>

#include "components/skin/SkinDocument.h"
#include "components/skin/SkinObject.h"

namespace tarvex::skin {

namespace {

int thumbWidth(const SkinObject& slider) {
  const QRect track = slider.rect();
  const int minimum = std::min(track.width(), slider.spec().style.thumbMinWidth);
  if (slider.maximum() <= 0 || slider.span() == 0) return track.width();
  const qint64 proportional = qint64(track.width()) * slider.pageSize() / slider.maximum();
  return std::clamp(static_cast<int>(proportional), minimum, track.width());
}

}  // namespace

QRect sliderThumbRect(const SkinObject& slider) {
  const QRect track = slider.rect();
  const int width = thumbWidth(slider);
  const int travel = track.width() - width;
  const int span = slider.span();
  const int offset =
      span == 0 ? 0 : static_cast<int>(std::lround(double(travel) * slider.position() / span));
  return QRect(track.left() + offset, track.top(), width, track.height());
}

int sliderPositionForThumbLeft(const SkinObject& slider, int thumbLeft) {
  const QRect track = slider.rect();
  const int travel = track.width() - thumbWidth(slider);
  const int span = slider.span();
  if (travel <= 0 || span == 0) return 0;
  const int offset = std::clamp(thumbLeft - track.left(), 0, travel);
  return static_cast<int>(std::lround(double(offset) * span / travel));
}

}  // namespace tarvex::skin
