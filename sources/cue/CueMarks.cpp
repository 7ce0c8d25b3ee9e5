#include "sources/cue/CueMarks.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "sources/MulDiv.h"
#include "sources/SplitPlanning.h"
#include "sources/cue/CueFileMatch.h"
#include "sources/cue/CuePieceTags.h"
#include "sources/cue/CueRanges.h"
#include "sources/cue/CueSheetError.h"
#include "sources/cue/CueSheetKeep.h"
#include "sources/cue/CueSheetReader.h"
#include "sources/cue/CueSheetWriter.h"

namespace tarvex {

namespace {

int64_t sampleAtCueFrame(int64_t cueFrame, const SourceRecord& record) {
  if (record.sampleRate <= 0) return -1;
  return std::clamp<int64_t>(MulDiv(cueFrame, record.sampleRate, kCueFramesPerSecond), 0,
                             record.frames);
}

int64_t cueFrameAtSample(int64_t sample, const SourceRecord& record) {
  return MulDiv(sample, kCueFramesPerSecond, record.sampleRate);
}

}  // namespace

void markFromCueSheet(SourceRecord& record, const CueSheet& sheet, int fileIndex) {
  const std::vector<CueRange> tracks =
      cueTrackRanges(sheet, fileIndex, sourceLengthMs(record), record.path);
  std::vector<int> kept;
  const std::vector<Segment> seconds = roundToWholeSeconds(tracks, record.lengthSeconds, &kept);
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
    mark.exactFirst = sampleAtCueFrame(track.beginFrame, record);
    mark.exactEnd =
        i + 1 < seconds.size()
            ? sampleAtCueFrame(tracks[static_cast<size_t>(kept[i + 1])].beginFrame, record)
            : -1;
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

QString markFromSheetFor(SourceRecord& record, const QString& sheetPath) {
  const QString sheet = sheetPath.isEmpty() ? cueSheetBeside(record.path) : sheetPath;
  if (sheet.isEmpty()) return {};
  markFromCueFile(record, sheet);
  return sheet;
}

CueSheet cueSheetOfMarks(const SourceRecord& record) {
  std::vector<CueRange> ranges;
  for (const Segment& cut : customRangesFor(record)) {
    const MarkedRange& mark = record.ranges[static_cast<size_t>(cut.row)];
    CueRange range;
    range.title = mark.title;
    range.performer = mark.performer;
    // A boundary still where a sheet put it keeps the sheet's exact frame.
    // An exact edge (a sheet's track, a found sound) is written as it was found.
    const bool exactRate = record.sampleRate > 0;
    range.beginFrame = exactRate && mark.exactFirst >= 0 ? cueFrameAtSample(mark.exactFirst, record)
                                                         : cut.begin * kCueFramesPerSecond;
    if (exactRate && mark.exactEnd >= 0 && mark.exactEnd < record.frames) {
      range.endFrame = cueFrameAtSample(mark.exactEnd, record);
    } else if (cut.end >= record.lengthSeconds || (exactRate && mark.exactEnd >= 0)) {
      range.endFrame = -1;
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

CueSheet cueSheetOfMarksOver(const SourceRecord& record, const QString& oldPath) {
  CueSheet sheet = cueSheetOfMarks(record);
  try {
    keepWhatMarksDoNotSay(sheet, readCueSheet(oldPath), record.path);
  } catch (const CueSheetError&) {
    // Nothing readable to keep: the user chose to replace it.
  }
  return sheet;
}

QString marksSheetPath(const QString& audioPath) {
  const QFileInfo audio(audioPath);
  return audio.absoluteDir().filePath(audio.completeBaseName() + QStringLiteral(".cue"));
}

}  // namespace tarvex
