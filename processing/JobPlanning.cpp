#include "processing/JobPlanning.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>

#include "platform/Error.h"
#include "processing/NameTemplate.h"
#include "processing/OutputNaming.h"
#include "sources/SampleSpan.h"

namespace tarvex {
namespace {

// One piece (or join part) of one source: the frames it holds and its row in
// the source's segment list.
struct Cut {
  SampleSpan span;
  int row = 0;
};

double timeStep(const JobSettings& settings) {
  return std::isfinite(settings.pieceSeconds) ? std::max(1.0, settings.pieceSeconds) : 1.0;
}

// How many pieces of `step` seconds cover a source: as many as start before
// its whole-second length, and one for a source shorter than a second.
double timePieceCount(const SourceRecord& source, double step) {
  const int length = std::max(0, source.lengthSeconds);
  return length == 0 ? 1.0 : std::ceil(length / step);
}

// Piece k of a source split every `step` seconds starts at round(k × step ×
// rate); the last runs to the end of the source.
std::vector<Cut> timeCuts(const SourceRecord& source, double step) {
  std::vector<Cut> cuts;
  const int length = std::max(0, source.lengthSeconds);
  const auto count =
      static_cast<int>(std::min<double>(timePieceCount(source, step), kMostPiecesPerJob + 1.0));
  for (int k = 0; k < count; ++k) {
    const double begin = k * step;
    const double end = (k + 1) * step;
    const int64_t first = sampleAtSeconds(begin, source.sampleRate, source.frames);
    const int64_t last =
        end >= length ? source.frames : sampleAtSeconds(end, source.sampleRate, source.frames);
    cuts.push_back({{first, std::max(first, last)}, k});
  }
  return cuts;
}

// The rows pieces by time show: the whole seconds each piece covers.
std::vector<Segment> timeRows(const SourceRecord& source, double step) {
  std::vector<Segment> rows;
  const int length = std::max(0, source.lengthSeconds);
  for (const Cut& cut : timeCuts(source, step)) {
    const double begin = cut.row * step;
    const double end = std::min<double>(length, std::ceil((cut.row + 1) * step));
    rows.push_back(
        {static_cast<int>(std::floor(begin)), static_cast<int>(end), SegmentStatus::Planned});
  }
  return rows;
}

std::vector<Cut> markedCuts(const std::vector<SourceRecord>& sources, int row,
                            SplitFunction function) {
  const SourceRecord& source = sources[static_cast<size_t>(row)];
  const SourceRecord& marked = function == SplitFunction::Unification ? sources.front() : source;
  std::vector<Cut> cuts;
  for (const Segment& range : cutRangesFor(function, sources, row)) {
    const SampleSpan span =
        markedSpan(marked.ranges[static_cast<size_t>(range.row)], marked, source);
    // A shared range that begins where this source has ended holds nothing.
    if (function == SplitFunction::Unification && source.frames > 0 &&
        span.first >= source.frames) {
      continue;
    }
    cuts.push_back({span, range.row});
  }
  return cuts;
}

std::vector<Cut> cutsOf(const std::vector<SourceRecord>& sources, int row,
                        const JobSettings& settings) {
  const SourceRecord& source = sources[static_cast<size_t>(row)];
  switch (settings.function) {
    case SplitFunction::EveryNSeconds:
      return timeCuts(source, timeStep(settings));
    case SplitFunction::EqualPieces: {
      std::vector<Cut> cuts;
      const std::vector<Segment> pieces =
          planByCountPieces(source.lengthSeconds, settings.pieceCount);
      for (size_t index = 0; index < pieces.size(); ++index) {
        const int64_t first = firstSampleOf(pieces[index].begin, source);
        cuts.push_back({{first, std::max(first, endSampleOf(pieces[index].end, source))},
                        static_cast<int>(index)});
      }
      return cuts;
    }
    case SplitFunction::Custom:
    case SplitFunction::Unification:
      break;
  }
  return markedCuts(sources, row, settings.function);
}

// The rows a source's segment list shows while a job works on it, in the
// plan's row numbering: pieces by time or count; the ranges that are cut
// under Custom and Unification (a lone pending range shows as confirmed and
// is cut; otherwise the pending last range is left out; under Unification the
// first source's ranges). `join` under time or count: one row over the source.
std::vector<Segment> rowsShown(const std::vector<SourceRecord>& sources, int row,
                               const JobSettings& settings, bool join) {
  const SourceRecord& source = sources[static_cast<size_t>(row)];
  switch (settings.function) {
    case SplitFunction::EveryNSeconds:
      if (join) return {{0, source.lengthSeconds, SegmentStatus::Planned}};
      return timeRows(source, timeStep(settings));
    case SplitFunction::EqualPieces:
      if (join) return {{0, source.lengthSeconds, SegmentStatus::Planned}};
      return planByCountPieces(source.lengthSeconds, settings.pieceCount);
    case SplitFunction::Custom:
    case SplitFunction::Unification:
      break;
  }
  // The shared ranges keep their rows even where a short source has no piece.
  const SourceRecord& marked =
      settings.function == SplitFunction::Unification ? sources.front() : source;
  std::vector<Segment> rows = planMarkedRanges(marked);
  if (rows.size() > 1) rows.pop_back();
  for (Segment& shown : rows) shown.status = SegmentStatus::Confirmed;
  return rows;
}

// Refuses, before anything is planned in full, a split that would write an
// absurd number of pieces.
void requireBoundedSplit(const std::vector<SourceRecord>& sources, const JobSettings& settings) {
  double pieces = 0;
  for (int row = 0; row < static_cast<int>(sources.size()); ++row) {
    const SourceRecord& source = sources[static_cast<size_t>(row)];
    switch (settings.function) {
      case SplitFunction::EveryNSeconds:
        pieces += timePieceCount(source, timeStep(settings));
        break;
      case SplitFunction::EqualPieces:
        pieces += static_cast<double>(
            planByCountPieces(source.lengthSeconds, settings.pieceCount).size());
        break;
      case SplitFunction::Custom:
      case SplitFunction::Unification:
        pieces += static_cast<double>(cutRangesFor(settings.function, sources, row).size());
        break;
    }
    if (pieces > kMostPiecesPerJob) {
      throw Error(QStringLiteral("Cannot split \"%1\": the job would write more than %2 pieces "
                                 "(its length reads %3 seconds). Choose longer or fewer pieces.")
                      .arg(source.path)
                      .arg(kMostPiecesPerJob)
                      .arg(source.lengthSeconds));
    }
  }
}

// A range's own title and performer (taken from a CUE sheet) name its piece.
void applyRangeTexts(const SourceRecord& source, int rangeIndex, AudioFileinfo& tags) {
  if (rangeIndex < 0 || rangeIndex >= static_cast<int>(source.ranges.size())) return;
  const MarkedRange& range = source.ranges[static_cast<size_t>(rangeIndex)];
  if (!range.title.isEmpty()) tags.title = range.title;
  if (!range.performer.isEmpty()) tags.artist = range.performer;
}

// The template naming a piece of `source` cut from range `row`: the job's,
// else "{n:02} {title}" for a titled range when pieces are named by title.
QString pieceNameTemplate(const JobSettings& settings, const SourceRecord& source, int row) {
  if (!settings.nameTemplate.isEmpty()) return settings.nameTemplate;
  if (!settings.namePiecesByTitle || settings.function != SplitFunction::Custom) return {};
  if (row < 0 || row >= static_cast<int>(source.ranges.size())) return {};
  if (source.ranges[static_cast<size_t>(row)].title.isEmpty()) return {};
  return QStringLiteral("{n:02} {title}");
}

int fadeSeconds(bool on, int seconds) {
  return on ? std::max(0, seconds) : 0;
}

}  // namespace

SplitPlan planSplit(const std::vector<SourceRecord>& sources, const JobSettings& settings,
                    const EncoderProfile& profile) {
  requireBoundedSplit(sources, settings);
  SplitPlan plan;
  plan.profile = profile;
  plan.outputFolder = settings.outputDir;
  const QString extension = OutputExtension(profile.formatIndex);
  PlannedNames names(settings.outputDir, extension);
  for (int row = 0; row < static_cast<int>(sources.size()); ++row) {
    const SourceRecord& source = sources[static_cast<size_t>(row)];
    plan.rows.push_back(rowsShown(sources, row, settings, false));
    const std::vector<Cut> cuts = cutsOf(sources, row, settings);
    for (size_t index = 0; index < cuts.size(); ++index) {
      const Cut& cut = cuts[index];
      PiecePlan piece;
      piece.source = row;
      piece.row = cut.row;
      piece.sourcePath = source.path;
      piece.firstFrame = cut.span.first;
      piece.endFrame = cut.span.end;
      piece.fallbackPath = fallbackOutputName(source.path, settings.outputDir, extension);
      piece.tags = source.tags;
      // Every piece of a source is numbered "n/N" among that source's pieces.
      piece.tags.track = QStringLiteral("%1/%2").arg(index + 1).arg(cuts.size());
      if (settings.function == SplitFunction::Custom) applyRangeTexts(source, cut.row, piece.tags);
      const QString nameTemplate = pieceNameTemplate(settings, source, cut.row);
      if (!nameTemplate.isEmpty()) {
        NameFields fields;
        fields.n = static_cast<int>(index) + 1;
        fields.N = static_cast<int>(cuts.size());
        fields.title = piece.tags.title;
        fields.artist = piece.tags.artist;
        fields.album = piece.tags.album;
        fields.year = piece.tags.year;
        fields.source = QFileInfo(source.path).completeBaseName();
        fields.startSeconds =
            source.sampleRate > 0 ? static_cast<double>(cut.span.first) / source.sampleRate : 0;
        const QString name = expandNameTemplate(nameTemplate, fields);
        if (!name.isEmpty()) {
          piece.nameStem = name;
          piece.outputPath = names.nextNamed(name);
        }
      }
      if (piece.outputPath.isEmpty()) {
        piece.nameStem = outputStem(source.caption);
        piece.outputPath = names.next(source.caption);
      }
      piece.fadeInSeconds = fadeSeconds(settings.fadeIn, settings.fadeInSeconds);
      piece.fadeOutSeconds = fadeSeconds(settings.fadeOut, settings.fadeOutSeconds);
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
  plan.fadeInSeconds = fadeSeconds(settings.fadeIn, settings.fadeInSeconds);
  plan.fadeOutSeconds = fadeSeconds(settings.fadeOut, settings.fadeOutSeconds);
  if (sources.empty()) return plan;
  plan.outputRate = sources.front().sampleRate;
  plan.outputChannels = sources.front().channels;
  const bool whole = !marksRanges(settings.function);
  for (int row = 0; row < static_cast<int>(sources.size()); ++row) {
    const SourceRecord& source = sources[static_cast<size_t>(row)];
    plan.rows.push_back(rowsShown(sources, row, settings, true));
    const QString sourceTitle = source.tags.title.isEmpty() ? source.caption : source.tags.title;
    if (whole) {
      plan.parts.push_back({row, 0, source.path, true, 0, source.frames, sourceTitle});
      continue;
    }
    for (const Cut& cut : markedCuts(sources, row, settings.function)) {
      AudioFileinfo texts;
      texts.title = sourceTitle;
      applyRangeTexts(source, cut.row, texts);
      plan.parts.push_back(
          {row, cut.row, source.path, false, cut.span.first, cut.span.end, texts.title});
    }
  }
  return plan;
}

}  // namespace tarvex
