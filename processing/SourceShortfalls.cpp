#include "processing/SourceShortfalls.h"

#include <QFileInfo>
#include <QStringList>
#include <algorithm>

namespace tarvex {

namespace {

QString pieces(int count) {
  return count == 1 ? QStringLiteral("1 piece") : QStringLiteral("%1 pieces").arg(count);
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
  lines << QStringLiteral("Some pieces hold less audio than was asked for:");
  for (const auto& [path, shortfall] : sources_) {
    QStringList effects;
    if (shortfall.shortened > 0)
      effects << pieces(shortfall.shortened) + QStringLiteral(" shortened");
    if (shortfall.unwritten > 0)
      effects << pieces(shortfall.unwritten) + QStringLiteral(" without audio not written");
    lines << QStringLiteral("%1 ends early, at %2 s: %3.")
                 .arg(QFileInfo(path).fileName(), seconds(shortfall.endedAt, shortfall.sampleRate),
                      effects.join(QStringLiteral(", ")));
  }
  return lines.join(QLatin1Char('\n'));
}

}  // namespace tarvex
