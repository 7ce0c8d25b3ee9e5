#include "processing/SourceShortfalls.h"

#include <QFileInfo>
#include <QStringList>
#include <algorithm>

namespace tarvex {

namespace {

QString counted(int count, const QString& unit) {
  return count == 1 ? QStringLiteral("1 ") + unit : QStringLiteral("%1 %2s").arg(count).arg(unit);
}

QString seconds(int64_t frames, int sampleRate) {
  return QString::number(static_cast<double>(frames) / std::max(sampleRate, 1), 'f', 3);
}

}  // namespace

void SourceShortfalls::endedEarly(const QString& sourcePath, int64_t endedAt, int sampleRate,
                                  bool pieceWritten) {
  const std::lock_guard lock(mutex_);
  auto [entry, fresh] = sources_.try_emplace(sourcePath);
  Shortfall& shortfall = entry->second;
  // Pieces written side by side may each see the end; the earliest counts.
  if (fresh || endedAt < shortfall.endedAt) shortfall.endedAt = endedAt;
  shortfall.sampleRate = sampleRate;
  ++(pieceWritten ? shortfall.shortened : shortfall.unwritten);
}

QString SourceShortfalls::message() const {
  const std::lock_guard lock(mutex_);
  if (sources_.empty()) return {};
  QStringList lines;
  lines << QStringLiteral("Some %1s hold less audio than was asked for:").arg(unit_);
  for (const auto& [path, shortfall] : sources_) {
    QStringList effects;
    if (shortfall.shortened > 0)
      effects << counted(shortfall.shortened, unit_) + QStringLiteral(" shortened");
    if (shortfall.unwritten > 0)
      effects << counted(shortfall.unwritten, unit_) + QStringLiteral(" without audio not written");
    lines << QStringLiteral("%1 ends early, at %2 s: %3.")
                 .arg(QFileInfo(path).fileName(), seconds(shortfall.endedAt, shortfall.sampleRate),
                      effects.join(QStringLiteral(", ")));
  }
  return lines.join(QLatin1Char('\n'));
}

}  // namespace tarvex
