#include "sources/cue/TrackPieces.h"

#include <QDir>
#include <algorithm>

#include "sources/MulDiv.h"
#include "sources/cue/CueSheetError.h"

namespace tarvex {

int64_t sampleAtCueFrame(int64_t cdFrame, int sampleRate) {
  return MulDiv(cdFrame, sampleRate, kCueFramesPerSecond);
}

int64_t cueFrameAtSample(int64_t sample, int sampleRate) {
  return MulDiv(sample, kCueFramesPerSecond, sampleRate);
}

std::vector<TrackPiece> trackPiecesOf(const CueSheet& sheet, int fileIndex,
                                      const SourceRecord& source) {
  if (source.sampleRate <= 0)
    throw CueSheetError(
        QStringLiteral("The sample rate of \"%1\" is not known, so the CUE sheet cannot mark it.")
            .arg(QDir::toNativeSeparators(source.path)));
  const int64_t length = std::max<int64_t>(0, source.frames);
  std::vector<TrackPiece> pieces;
  for (const CueTrack& track : sheet.tracks) {
    if (track.fileIndex != fileIndex || track.startFrame() < 0) continue;
    const int64_t first = sampleAtCueFrame(track.startFrame(), source.sampleRate);
    if (first >= length)
      throw CueSheetError(
          QStringLiteral("The CUE sheet's track %1 starts at %2, but \"%3\" ends at %4.")
              .arg(track.number)
              .arg(formatCueTime(track.startFrame()), source.path,
                   formatCueTime(cueFrameAtSample(length, source.sampleRate))));
    if (!pieces.empty()) pieces.back().span.end = first;
    TrackPiece piece;
    piece.number = track.number;
    piece.title = track.title;
    piece.performer = track.performer.isEmpty() ? sheet.performer : track.performer;
    piece.span = {first, length};
    pieces.push_back(piece);
  }
  return pieces;
}

std::vector<Segment> roundToWholeSeconds(const std::vector<TrackPiece>& pieces, int sampleRate,
                                         int lengthSeconds, std::vector<int>* kept) {
  const auto toSeconds = [sampleRate, lengthSeconds](int64_t sample) {
    const int64_t seconds = sampleRate > 0 ? (2 * sample + sampleRate) / (2 * sampleRate) : 0;
    return static_cast<int>(std::clamp<int64_t>(seconds, 0, std::max(0, lengthSeconds)));
  };
  std::vector<Segment> result;
  if (kept) kept->clear();
  for (size_t i = 0; i < pieces.size(); ++i) {
    Segment range;
    range.begin = toSeconds(pieces[i].span.first);
    range.end = toSeconds(pieces[i].span.end);
    if (range.end <= range.begin) continue;
    // The previous kept range runs up to this one's begin (a dropped track between them joins it).
    if (!result.empty()) result.back().end = range.begin;
    result.push_back(range);
    if (kept) kept->push_back(static_cast<int>(i));
  }
  return result;
}

}  // namespace tarvex
