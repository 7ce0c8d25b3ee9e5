#include "cli/ProgressDisplay.h"

#include <algorithm>

namespace tarvex::cli {

namespace {
constexpr int kBarWidth = 30;
}

ProgressDisplay::ProgressDisplay(QTextStream& err, bool terminal, bool quiet, int outputs,
                                 int64_t totalFrames)
    : err_(err), terminal_(terminal), quiet_(quiet), outputs_(outputs), totalFrames_(totalFrames) {}

void ProgressDisplay::started(int index, const QString& outputPath) {
  if (quiet_) return;
  if (terminal_) {
    drawBar();
  } else {
    err_ << QStringLiteral("[%1/%2] %3: writing").arg(index + 1).arg(outputs_).arg(outputPath)
         << Qt::endl;
  }
}

void ProgressDisplay::progress(int index, int64_t done) {
  int64_t& known = doneByOutput_[index];
  doneFrames_ += done - known;
  known = done;
  if (quiet_ || !terminal_) return;
  drawBar();
}

void ProgressDisplay::finished(int index, const QString& outputPath, const QString& outcome) {
  ++outputsEnded_;
  if (quiet_) return;
  breakLine();
  err_ << QStringLiteral("[%1/%2] %3: %4").arg(index + 1).arg(outputs_).arg(outputPath, outcome)
       << Qt::endl;
  if (terminal_ && outputsEnded_ < outputs_) drawBar();
}

void ProgressDisplay::breakLine() {
  if (!barShown_) return;
  err_ << "\r\x1b[K";
  err_.flush();
  barShown_ = false;
  lastPercent_ = -1;
}

void ProgressDisplay::drawBar() {
  const int percent =
      totalFrames_ > 0
          ? static_cast<int>(std::clamp<int64_t>(doneFrames_ * 100 / totalFrames_, 0, 100))
          : 0;
  if (barShown_ && percent == lastPercent_) return;
  lastPercent_ = percent;
  const int filled = percent * kBarWidth / 100;
  err_ << QStringLiteral("\r[%1%2] %3%  %4 of %5 done\x1b[K")
              .arg(QString(filled, QLatin1Char('#')), QString(kBarWidth - filled, QLatin1Char(' ')))
              .arg(percent, 3)
              .arg(outputsEnded_)
              .arg(outputs_);
  err_.flush();
  barShown_ = true;
}

}  // namespace tarvex::cli
