#include "app/ConversionProgress.h"

#include "components/skin/SkinObject.h"
#include "sources/MulDiv.h"

namespace tarvex {

ConversionProgress::ConversionProgress(skin::SkinObject* convertpb) : convertpb_(convertpb) {
  if (convertpb_ != nullptr) initialRect_ = convertpb_->rect();
}

void ConversionProgress::ShowConversionProgress(int p, bool skinFlag) {
  if (convertpb_ == nullptr) return;
  if (p == 10000) p = 0;
  const int width = static_cast<int>(MulDiv(p, kFullWidth, 10000));
  if (!skinFlag && width > kFullWidth) return;
  // The frame paints up to its right edge, which sits at left + width.
  QRect rect = initialRect_;
  rect.setRight(initialRect_.left() + width);
  convertpb_->setRect(rect);
  convertpb_->redraw();
}

}  // namespace tarvex
