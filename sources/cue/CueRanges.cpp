#include "sources/cue/CueRanges.h"

#include <algorithm>

#include "sources/cue/CueSheetError.h"

namespace tarvex {

std::vector<CueRange> cueTrackRanges(const CueSheet& sheet, int fileIndex) {
  std::vector<CueRange> ranges;
  for (const CueTrack& track : sheet.tracks) {
    if (track.fileIndex != fileIndex || track.startFrame() < 0) continue;
    if (!ranges.empty()) ranges.back().endFrame = track.startFrame();
    CueRange range;
    range.sheetTrackNumber = track.number;
    range.title = track.title;
    range.performer = track.performer.isEmpty() ? sheet.performer : track.performer;
    range.beginFrame = track.startFrame();
    ranges.push_back(range);
  }
  return ranges;
}

std::vector<CueRange> cueTrackRanges(const CueSheet& sheet, int fileIndex, int64_t audioLengthMs,
                                     const QString& audioPath) {
  std::vector<CueRange> ranges = cueTrackRanges(sheet, fileIndex);
  const int64_t endFrame = msToCueFrame(audioLengthMs);
  for (const CueRange& range : ranges) {
    if (range.beginFrame >= endFrame)
      throw CueSheetError(
          QStringLiteral("The CUE sheet's track %1 starts at %2, but \"%3\" ends at %4.")
              .arg(range.sheetTrackNumber)
              .arg(formatCueTime(range.beginFrame), audioPath, formatCueTime(endFrame)));
  }
  if (!ranges.empty()) ranges.back().endFrame = endFrame;
  return ranges;
}

std::vector<Segment> roundToWholeSeconds(const std::vector<CueRange>& ranges, int lengthSeconds,
                                         std::vector<int>* kept) {
  const auto toSeconds = [lengthSeconds](int64_t frame) {
    const int64_t seconds = wholeSecondOfCueFrame(frame);
    return static_cast<int>(std::clamp<int64_t>(seconds, 0, lengthSeconds));
  };
  std::vector<Segment> result;
  if (kept) kept->clear();
  for (size_t i = 0; i < ranges.size(); ++i) {
    Segment range;
    range.begin = toSeconds(ranges[i].beginFrame);
    range.end = ranges[i].endFrame < 0 ? lengthSeconds : toSeconds(ranges[i].endFrame);
    if (range.end <= range.begin) continue;
    // The previous kept range runs up to this one's begin (a dropped track between them joins it).
    if (!result.empty()) result.back().end = range.begin;
    result.push_back(range);
    if (kept) kept->push_back(static_cast<int>(i));
  }
  return result;
}

}  // namespace tarvex
