#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>

#include "sources/analysis/WaveformPeaks.h"

namespace tarvex {

// Finished waveforms of this session, by file and width. A file that changed
// on disk (size or modification time) is not found again.
class WaveformCache {
 public:
  bool find(const QString& path, int width, WaveformPeaks& peaks) const;
  void store(const QString& path, const WaveformPeaks& peaks);
  void clear() { entries_.clear(); }

 private:
  static QString key(const QString& path, int width);
  QHash<QString, WaveformPeaks> entries_;
};

}  // namespace tarvex
