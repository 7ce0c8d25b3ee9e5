#include "processing/JobPlanning.h"

#include <QSet>

#include "processing/OutputNaming.h"
#include "processing/SourceFrames.h"
#include "sources/cue/CueSheet.h"

namespace tarvex {
namespace {

SourceFrames framesOf(const SourceRecord& record) {
  SourceFrames frames;
  frames.samples = record.frames;
  frames.durationMs = record.durationMs;
  frames.sampleRate = record.sampleRate;
  frames.channels = record.channels;
  return frames;
}

// The pieces a job cuts from one source, in seconds, with their rows.
std::vector<UnifiedRange> cutRanges(const std::vector<SourceRecord>& sources, int row,
                                    const JobSettings& settings) {
  const SourceRecord& source = sources[static_cast<size_t>(row)];
  std::vector<Segment> pieces;
  switch (settings.function) {
    case SplitFunction::EveryNSeconds:
      pieces = planByTimePieces(source.lengthSeconds, settings.pieceSeconds);
      break;
    case SplitFunction::EqualPieces:
      pieces = planByCountPieces(source.lengthSeconds, settings.pieceCount);
      break;
    case SplitFunction::Custom:
    case SplitFunction::Unification:
      return cutRangesFor(settings.function, sources, row);
  }
  std::vector<UnifiedRange> ranges;
  for (int index = 0; index < static_cast<int>(pieces.size()); ++index) {
    ranges.push_back(
        {pieces[static_cast<size_t>(index)].begin, pieces[static_cast<size_t>(index)].end, index});
  }
  return ranges;
}

// A range's own title and performer (taken from a CUE sheet) name its piece.
void applyRangeTexts(const SourceRecord& source, int rangeIndex, AudioFileinfo& tags) {
  if (rangeIndex < 0 || rangeIndex >= static_cast<int>(source.ranges.size())) return;
  const MarkedRange& range = source.ranges[static_cast<size_t>(rangeIndex)];
  if (!range.title.isEmpty()) tags.title = range.title;
  if (!range.performer.isEmpty()) tags.artist = range.performer;
}

// A range marked from a CUE sheet is cut at the sheet's exact times while its
// whole-second ends still show them.
void applySheetFrames(const SourceRecord& source, const UnifiedRange& range,
                      const SourceFrames& frames, PiecePlan& piece) {
  if (range.row < 0 || range.row >= static_cast<int>(source.ranges.size())) return;
  const MarkedRange& mark = source.ranges[static_cast<size_t>(range.row)];
  if (mark.sheetBeginFrame >= 0 && wholeSecondOfCueFrame(mark.sheetBeginFrame) == range.begin) {
    piece.firstFrame = frames.frameAtCueFrame(mark.sheetBeginFrame);
  }
  if (mark.sheetEndFrame >= 0 && wholeSecondOfCueFrame(mark.sheetEndFrame) == range.end) {
    piece.endFrame = frames.frameAtCueFrame(mark.sheetEndFrame);
  }
  piece.endFrame = std::max(piece.endFrame, piece.firstFrame);
}

}  // namespace

std::vector<Segment> jobRowsFor(const std::vector<SourceRecord>& sources, int row,
                                const JobSettings& settings, bool join) {
  if (row < 0 || row >= static_cast<int>(sources.size())) return {};
  const SourceRecord& source = sources[static_cast<size_t>(row)];
  switch (settings.function) {
    case SplitFunction::EveryNSeconds:
      if (join) return {{0, source.lengthSeconds, SegmentStatus::Planned}};
      return planByTimePieces(source.lengthSeconds, settings.pieceSeconds);
    case SplitFunction::EqualPieces:
      if (join) return {{0, source.lengthSeconds, SegmentStatus::Planned}};
      return planByCountPieces(source.lengthSeconds, settings.pieceCount);
    case SplitFunction::Custom:
    case SplitFunction::Unification:
      break;
  }
  // The marked ranges the job cuts, numbered as the plan numbers them: the
  // shared ranges keep their rows even where a short source has no piece.
  const SourceRecord& marked =
      settings.function == SplitFunction::Unification ? sources.front() : source;
  std::vector<Segment> rows = planMarkedRanges(marked);
  if (rows.size() > 1) rows.pop_back();
  for (Segment& shown : rows) shown.status = SegmentStatus::Confirmed;
  return rows;
}

SplitPlan planSplit(const std::vector<SourceRecord>& sources, const JobSettings& settings,
                    const EncoderProfile& profile) {
  SplitPlan plan;
  plan.profile = profile;
  plan.outputFolder = settings.outputDir;
  const QString extension = OutputExtension(profile.formatIndex);
  QSet<QString> planned;
  const auto isPlanned = [&planned](const QString& path) { return planned.contains(path); };
  for (int row = 0; row < static_cast<int>(sources.size()); ++row) {
    const SourceRecord& source = sources[static_cast<size_t>(row)];
    const SourceFrames frames = framesOf(source);
    const std::vector<UnifiedRange> ranges = cutRanges(sources, row, settings);
    for (size_t index = 0; index < ranges.size(); ++index) {
      const UnifiedRange& range = ranges[index];
      PiecePlan piece;
      piece.source = row;
      piece.row = range.row;
      piece.sourcePath = source.path;
      piece.firstFrame = frames.beginFrame(range.begin);
      piece.endFrame = std::max(piece.firstFrame, frames.endFrame(range.end));
      piece.nameStem = outputStem(source.caption);
      piece.outputPath = MakeOutputName(source.caption, settings.outputDir, extension, isPlanned);
      planned.insert(piece.outputPath);
      piece.fallbackPath = fallbackOutputName(source.path, settings.outputDir, extension);
      piece.tags = source.tags;
      // Every piece of a source is numbered "n/N" among that source's pieces.
      piece.tags.track = QStringLiteral("%1/%2").arg(index + 1).arg(ranges.size());
      if (settings.function == SplitFunction::Custom) {
        applyRangeTexts(source, range.row, piece.tags);
        applySheetFrames(source, range, frames, piece);
      }
      piece.fadeInSeconds = settings.fadeIn ? std::max(0, settings.fadeInSeconds) : 0;
      piece.fadeOutSeconds = settings.fadeOut ? std::max(0, settings.fadeOutSeconds) : 0;
      piece.endsWithinShortTail = settings.function == SplitFunction::Custom;
      plan.pieces.push_back(std::move(piece));
    }
  }
  return plan;
}

JoinPlan planJoin(const std::vector<SourceRecord>& sources, const JobSettings& settings,
                  const EncoderProfile& profile, const QString& outputPath) {
  JoinPlan plan;
  plan.outputPath = outputPath;
  plan.profile = profile;
  plan.fadeInSeconds = settings.fadeIn ? std::max(0, settings.fadeInSeconds) : 0;
  plan.fadeOutSeconds = settings.fadeOut ? std::max(0, settings.fadeOutSeconds) : 0;
  if (sources.empty()) return plan;
  plan.outputRate = sources.front().sampleRate;
  plan.outputChannels = sources.front().channels;
  const bool whole = !marksRanges(settings.function);
  for (int row = 0; row < static_cast<int>(sources.size()); ++row) {
    const SourceRecord& source = sources[static_cast<size_t>(row)];
    if (whole) {
      plan.parts.push_back({row, 0, source.path, true, 0, source.frames});
      continue;
    }
    const SourceFrames frames = framesOf(source);
    for (const UnifiedRange& range : cutRangesFor(settings.function, sources, row)) {
      const int64_t first = frames.beginFrame(range.begin);
      plan.parts.push_back(
          {row, range.row, source.path, false, first, std::max(first, frames.endFrame(range.end))});
    }
  }
  return plan;
}

}  // namespace tarvex
