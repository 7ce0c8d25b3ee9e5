#include "sources/cue/CueSheet.h"

namespace tarvex {

int64_t CueTrack::startFrame() const {
  for (const CueIndex& index : indexes)
    if (index.number == 1) return index.cdFrame;
  return -1;
}

QString formatCueTime(int64_t cdFrame) {
  if (cdFrame < 0) cdFrame = 0;
  const int64_t minutes = cdFrame / (60 * kCueFramesPerSecond);
  const int64_t seconds = (cdFrame / kCueFramesPerSecond) % 60;
  const int64_t frames = cdFrame % kCueFramesPerSecond;
  return QStringLiteral("%1:%2:%3")
      .arg(minutes, 2, 10, QLatin1Char('0'))
      .arg(seconds, 2, 10, QLatin1Char('0'))
      .arg(frames, 2, 10, QLatin1Char('0'));
}

int64_t cueFrameToMs(int64_t cdFrame) {
  return (cdFrame * 1000 + kCueFramesPerSecond / 2) / kCueFramesPerSecond;
}

int64_t msToCueFrame(int64_t ms) {
  return (ms * kCueFramesPerSecond + 500) / 1000;
}

}  // namespace tarvex
