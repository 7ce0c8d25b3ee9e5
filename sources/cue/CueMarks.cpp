#include "sources/cue/CueMarks.h"

#include <QDir>
#include <QFileInfo>

#include "sources/SplitPlanning.h"
#include "sources/cue/CueFileMatch.h"
#include "sources/cue/CuePieceTags.h"
#include "sources/cue/CueRanges.h"
#include "sources/cue/CueSheetError.h"
#include "sources/cue/CueSheetReader.h"
#include "sources/cue/CueSheetWriter.h"

namespace tarvex {

void markFromCueSheet(SourceRecord& record, const CueSheet& sheet, int fileIndex) {
  const std::vector<CueRange> tracks =
      cueTrackRanges(sheet, fileIndex, sourceLengthMs(record), record.path);
  std::vector<int> kept;
  const std::vector<SecondsRange> seconds =
      roundToWholeSeconds(tracks, record.lengthSeconds, &kept);
  if (seconds.empty())
    throw CueSheetError(
        QStringLiteral("The CUE sheet has no track that plays from \"%1\".").arg(record.path));
  std::vector<MarkedRange> marks;
  for (size_t i = 0; i < seconds.size(); ++i) {
    const CueRange& track = tracks[static_cast<size_t>(kept[i])];
    MarkedRange mark(seconds[i].begin, seconds[i].end, RangeState::Confirmed, track.title,
                     track.performer);
    // The exact boundaries: a dropped track between two kept ones joins the
    // earlier; the last runs to the end of the audio.
    mark.sheetBeginFrame = track.beginFrame;
    mark.sheetEndFrame =
        i + 1 < seconds.size() ? tracks[static_cast<size_t>(kept[i + 1])].beginFrame : -1;
    marks.push_back(std::move(mark));
  }
  // The sheet's disc texts: an empty range keeps the source's title.
  const QString track = record.tags.track;
  record.tags = cuePieceTags(record.tags, sheet, CueRange{}, 0, 0);
  record.tags.track = track;
  record.replaceMarks(std::move(marks));
}

void markFromCueFile(SourceRecord& record, const QString& sheetPath) {
  const CueSheet sheet = readCueSheet(sheetPath);
  const int fileIndex = cueFileIndexFor(sheet, record.path);
  if (fileIndex < 0)
    throw CueSheetError(
        QStringLiteral("The CUE sheet \"%1\" names other files than \"%2\".")
            .arg(QDir::toNativeSeparators(sheetPath), QFileInfo(record.path).fileName()));
  markFromCueSheet(record, sheet, fileIndex);
}

CueSheet cueSheetOfMarks(const SourceRecord& record) {
  std::vector<CueRange> ranges;
  for (const UnifiedRange& cut : customRangesFor(record)) {
    const MarkedRange& mark = record.ranges[static_cast<size_t>(cut.row)];
    CueRange range;
    range.title = mark.title;
    range.performer = mark.performer;
    // A boundary still where a sheet put it keeps the sheet's exact frame.
    range.beginFrame =
        mark.sheetBeginFrame >= 0 && wholeSecondOfCueFrame(mark.sheetBeginFrame) == cut.begin
            ? mark.sheetBeginFrame
            : cut.begin * kCueFramesPerSecond;
    if (cut.end >= record.lengthSeconds) {
      range.endFrame = -1;
    } else if (mark.sheetEndFrame >= 0 && wholeSecondOfCueFrame(mark.sheetEndFrame) == cut.end) {
      range.endFrame = mark.sheetEndFrame;
    } else {
      range.endFrame = cut.end * kCueFramesPerSecond;
    }
    ranges.push_back(range);
  }
  CueSheet sheet = cueSheetFromRanges(record.path, std::move(ranges));
  sheet.title = record.tags.album;
  sheet.performer = record.tags.artist;
  sheet.genre = record.tags.genre;
  sheet.date = record.tags.year;
  return sheet;
}

QString marksSheetPath(const QString& audioPath) {
  const QFileInfo audio(audioPath);
  return audio.absoluteDir().filePath(audio.completeBaseName() + QStringLiteral(".cue"));
}

}  // namespace tarvex
