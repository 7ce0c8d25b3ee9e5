#include "app/JobProgress.h"

#include "app/ConversionProgress.h"
#include "components/skin/SkinObject.h"
#include "sources/MulDiv.h"

#include <algorithm>

namespace tarvex {

JobProgress::JobProgress(const MainSettings& settings, skin::SkinObject* pbpos,
                         ConversionProgress& bar)
    : settings_(settings), pbpos_(pbpos), bar_(bar) {}

void JobProgress::show(int64_t done, int64_t total) {
  const bool finished = done >= total;
  if (!finished && sinceRedraw_.isValid() && sinceRedraw_.elapsed() < kRedrawMilliseconds) return;
  sinceRedraw_.start();
  const int p =
      total > 0 ? static_cast<int>(std::clamp<int64_t>(MulDiv(done, 10000, total), 0, 10000)) : 0;
  if (pbpos_ != nullptr) {
    pbpos_->setText(QString::number(p / 100) + QLatin1Char('%'));
    pbpos_->redraw();
  }
  bar_.ShowConversionProgress(p, settings_.skinFlag);
}

void JobProgress::clear() {
  sinceRedraw_.invalidate();
  if (pbpos_ != nullptr) {
    pbpos_->setText(QString());
    pbpos_->redraw();
  }
  bar_.ShowConversionProgress(0, settings_.skinFlag);
}

}  // namespace tarvex
