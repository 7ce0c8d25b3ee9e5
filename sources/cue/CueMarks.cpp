#include "sources/cue/CueMarks.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "sources/SampleSpan.h"
#include "sources/SplitPlanning.h"
#include "sources/cue/CueFileMatch.h"
#include "sources/cue/CuePieceTags.h"
#include "sources/cue/CueSheetError.h"
#include "sources/cue/CueSheetKeep.h"
#include "sources/cue/CueSheetReader.h"
#include "sources/cue/CueSheetWriter.h"
#include "sources/cue/TrackPieces.h"

namespace tarvex {

void markFromCueSheet(SourceRecord& record, const CueSheet& sheet, int fileIndex) {
  const std::vector<TrackPiece> tracks = trackPiecesOf(sheet, fileIndex, record);
  std::vector<int> kept;
  const std::vector<Segment> seconds =
      roundToWholeSeconds(tracks, record.sampleRate, record.lengthSeconds, &kept);
  if (seconds.empty())
    throw CueSheetError(
        QStringLiteral("The CUE sheet has no track that plays from \"%1\".").arg(record.path));
  std::vector<MarkedRange> marks;
  for (size_t i = 0; i < seconds.size(); ++i) {
    const TrackPiece& track = tracks[static_cast<size_t>(kept[i])];
    MarkedRange mark(seconds[i].begin, seconds[i].end, RangeState::Confirmed, track.title,
                     track.performer);
    // The exact boundaries: a dropped track between two kept ones joins the
    // earlier; the last runs to the end of the audio.
    mark.exactFirst = track.span.first;
    mark.exactEnd =
        i + 1 < seconds.size() ? tracks[static_cast<size_t>(kept[i + 1])].span.first : -1;
    marks.push_back(std::move(mark));
  }
  // The sheet's disc texts: an empty range keeps the source's title.
  const QString track = record.tags.track;
  record.tags = cuePieceTags(record.tags, sheet, TrackPiece{}, 0, 0);
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
  // Each range as the plan cuts it: an exact edge (a sheet's track, a found
  // sound) is written as it was found, so a boundary still where a sheet put
  // it keeps the sheet's CD frame.
  std::vector<TrackPiece> pieces;
  for (const Segment& cut : customRangesFor(record)) {
    const MarkedRange& mark = record.ranges[static_cast<size_t>(cut.row)];
    pieces.push_back({0, mark.title, mark.performer, markedSpan(mark, record, record)});
  }
  CueSheet sheet = cueSheetFromPieces(record.path, std::move(pieces), record.sampleRate);
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
