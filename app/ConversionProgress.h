#pragma once

#include <QRect>

namespace tarvex::skin {
class SkinObject;
}

namespace tarvex {

// The conversion progress bar: the skin's "convertpb" frame, 340 pixels long
// at 100 %, whose right edge follows the progress of the current piece.
class ConversionProgress {
 public:
  static constexpr int kFullWidth = 340;

  // `convertpb` may be null (a skin without it); its rectangle is read once here.
  explicit ConversionProgress(skin::SkinObject* convertpb);

  // p in hundredths of a percent, 0 to 10000; exactly 10000 shows as empty
  // (the bar starts empty for every piece). With `skinFlag` off, a width past
  // the full length changes nothing.
  void ShowConversionProgress(int p, bool skinFlag);

 private:
  skin::SkinObject* convertpb_;
  QRect initialRect_;
};

}  // namespace tarvex
