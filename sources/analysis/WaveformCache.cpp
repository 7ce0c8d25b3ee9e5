#include "sources/analysis/WaveformCache.h"

#include <QFileInfo>

namespace tarvex {

QString WaveformCache::key(const QString& path, int width) {
  const QFileInfo info(path);
  return QStringLiteral("%1|%2|%3|%4")
      .arg(info.absoluteFilePath())
      .arg(info.size())
      .arg(info.lastModified().toMSecsSinceEpoch())
      .arg(width);
}

bool WaveformCache::find(const QString& path, int width, WaveformPeaks& peaks) const {
  const auto found = entries_.constFind(key(path, width));
  if (found == entries_.constEnd()) return false;
  peaks = found.value();
  return true;
}

void WaveformCache::store(const QString& path, const WaveformPeaks& peaks) {
  if (peaks.exact && !peaks.empty()) entries_.insert(key(path, peaks.width()), peaks);
}

}  // namespace tarvex
