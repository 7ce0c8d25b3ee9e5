#include "cli/ProgressDisplay.h"

#include <algorithm>

namespace tarvex::cli {

namespace {
constexpr int kBarWidth = 30;
}

ProgressDisplay::ProgressDisplay(QTextStream& err, bool terminal, bool quiet, int outputs,
                                 int64_t totalFrames, int reports)
    : err_(err),
      terminal_(terminal),
      quiet_(quiet),
      outputs_(std::max(outputs, 1)),
      reports_(std::max(reports, outputs)),
      totalFrames_(totalFrames) {}

QString ProgressDisplay::label(int index) const {
  const int place = joins() ? 1 : std::clamp(index + 1, 1, outputs_);
  return QStringLiteral("[%1/%2]").arg(place).arg(outputs_);
}

void ProgressDisplay::started(int index, const QString& outputPath) {
  // A join's later parts go on writing the output its first part started.
  const bool continues = joins() && index > 0;
  pathByIndex_.insert(index, outputPath);
  if (quiet_) return;
  if (terminal_) {
    drawBar();
  } else if (!continues) {
    err_ << QStringLiteral("%1 %2: writing").arg(label(index), outputPath) << Qt::endl;
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
  const QString path = outputPath.isEmpty() ? pathByIndex_.value(index) : outputPath;
  // A join's output ends with its last part, or with the part cut off: a
  // part written whole before the last one ends nothing.
  const bool partWhole = !outputPath.isEmpty() && outcome == QStringLiteral("done");
  if (joins() && index + 1 < reports_ && partWhole) return;
  outputsEnded_ = std::min(outputsEnded_ + 1, outputs_);
  if (quiet_) return;
  breakLine();
  err_ << QStringLiteral("%1 %2: %3").arg(label(index), path, outcome) << Qt::endl;
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
