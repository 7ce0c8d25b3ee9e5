#include "components/skin/SkinObject.h"

#include <algorithm>

#include "components/skin/SkinWidget.h"

namespace tarvex::skin {

void SkinObject::changed() {
  if (owner_) owner_->redrawObject(*this);
}

int SkinObject::span() const {
  return std::max(0, maximum_ - pageSize_);
}

void SkinObject::clampPosition() {
  position_ = std::clamp(position_, 0, span());
}

void SkinObject::setMaximum(int value) {
  maximum_ = std::max(0, value);
  clampPosition();
  changed();
}

void SkinObject::setPageSize(int value) {
  pageSize_ = std::max(0, value);
  clampPosition();
  changed();
}

void SkinObject::setPosition(int value) {
  position_ = std::clamp(value, 0, span());
  changed();
}

void SkinObject::setText(const QString& text) {
  if (text_ == text) return;
  text_ = text;
  changed();
}

void SkinObject::setRect(const QRect& rect) {
  if (rect_ == rect) return;
  changed();  // the area it covered so far
  rect_ = rect;
  changed();
}

void SkinObject::setFrameWidth(int pixels) {
  QRect wider = rect_;
  wider.setRight(rect_.left() + std::max(0, pixels));
  setRect(wider);
}

void SkinObject::redraw() {
  changed();
}

void SkinObject::setWaveform(std::vector<float> low, std::vector<float> high) {
  if (low.size() != high.size()) low.assign(high.size(), 0.0f);
  waveLow_ = std::move(low);
  waveHigh_ = std::move(high);
  changed();
}

void SkinObject::setWaveSpans(std::vector<SkinWaveSpan> spans) {
  waveSpans_ = std::move(spans);
  changed();
}

void SkinObject::setWaveCursor(double fraction) {
  if (fraction == waveCursor_) return;
  waveCursor_ = fraction;
  changed();
}

}  // namespace tarvex::skin
