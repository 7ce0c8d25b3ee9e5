#include "cli/CliPlans.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <algorithm>

#include "components/audio/AudioFile2.h"
#include "processing/OutputNaming.h"
#include "sources/MulDiv.h"
#include "sources/SplitPlanning.h"
#include "tags/SourceTagReader.h"

namespace tarvex::cli {

namespace {

int lengthSeconds(const SourceFacts& source) {
  return static_cast<int>(source.durationMs / 1000);
}

int64_t frameAt(const SourceFacts& source, int seconds) {
  if (seconds >= lengthSeconds(source)) return source.frames;
  const int64_t frame = MulDiv(int64_t{seconds} * 1000, source.frames, source.durationMs);
  return std::clamp<int64_t>(frame, 0, source.frames);
}

// The whole-second stretches a source is cut into.
std::vector<TimeRange> stretchesOf(const CliCommand& command, const SourceFacts& source) {
  std::vector<TimeRange> stretches;
  const int length = lengthSeconds(source);
  switch (command.mode) {
    case SplitMode::Every:
      for (const Segment& segment : planByTimePieces(length, command.everySeconds)) {
        stretches.push_back({segment.begin, segment.end});
      }
      break;
    case SplitMode::Pieces:
      for (const Segment& segment : planByCountPieces(length, command.pieceCount)) {
        stretches.push_back({segment.begin, segment.end});
      }
      break;
    case SplitMode::Ranges:
      for (const TimeRange& range : command.ranges) {
        if (range.begin >= length) continue;
        stretches.push_back({range.begin, std::min(range.end, length)});
      }
      break;
  }
  return stretches;
}

// Numbered names for one run: "stem_N.ext" with the first N whose file does
// not exist and that no earlier piece of the run was given.
class PieceNamer {
 public:
  PieceNamer(QString outputFolder, QString extension)
      : outputFolder_(std::move(outputFolder)), extension_(std::move(extension)) {}

  QString next(const QString& stem) {
    for (int number = nextNumber_.value(stem, 1);; ++number) {
      const QString path = numberedOutputName(stem, number, outputFolder_, extension_);
      if (planned_.contains(path) || pathTaken(path)) continue;
      planned_.insert(path);
      nextNumber_.insert(stem, number + 1);
      return path;
    }
  }

 private:
  QString outputFolder_;
  QString extension_;
  QSet<QString> planned_;
  QHash<QString, int> nextNumber_;
};

}  // namespace

SourceFacts measureSource(const QString& path) {
  SourceFacts facts;
  facts.path = path;
  AudioFile2 reader;
  reader.OpenRead(path);
  facts.frames = reader.Samples();
  facts.durationMs = reader.Duration();
  facts.sampleRate = reader.SampleRate();
  facts.channels = reader.Channels();
  reader.Close();
  const SourceTags tags = readSourceTags(path, false);
  facts.caption = tags.caption.isEmpty() ? QFileInfo(path).fileName() : tags.caption;
  facts.tags = tags.info;
  return facts;
}

SplitPlan planSplit(const CliCommand& command, const std::vector<SourceFacts>& sources,
                    const EncoderProfile& profile, const QString& outputFolder) {
  SplitPlan plan;
  plan.profile = profile;
  plan.outputFolder = outputFolder;
  const QString extension = OutputExtension(profile.formatIndex);
  PieceNamer namer(outputFolder, extension);
  for (int index = 0; index < static_cast<int>(sources.size()); ++index) {
    const SourceFacts& source = sources[static_cast<std::size_t>(index)];
    const QString stem = outputStem(source.caption);
    int row = 0;
    for (const TimeRange& stretch : stretchesOf(command, source)) {
      PiecePlan piece;
      piece.source = index;
      piece.row = row++;
      piece.sourcePath = source.path;
      piece.firstFrame = frameAt(source, stretch.begin);
      piece.endFrame = frameAt(source, stretch.end);
      piece.outputPath = namer.next(stem);
      piece.nameStem = stem;
      piece.fallbackPath = fallbackOutputName(source.path, outputFolder, extension);
      piece.tags = source.tags;
      piece.fadeInSeconds = command.fadeInSeconds;
      piece.fadeOutSeconds = command.fadeOutSeconds;
      piece.endsWithinShortTail = command.mode == SplitMode::Ranges;
      plan.pieces.push_back(piece);
    }
  }
  return plan;
}

JoinPlan planJoin(const CliCommand& command, const std::vector<SourceFacts>& sources,
                  const EncoderProfile& profile, const QString& outputPath) {
  JoinPlan plan;
  plan.outputPath = outputPath;
  plan.profile = profile;
  if (!sources.empty()) {
    plan.outputRate = sources.front().sampleRate;
    plan.outputChannels = sources.front().channels;
  }
  for (int index = 0; index < static_cast<int>(sources.size()); ++index) {
    const SourceFacts& source = sources[static_cast<std::size_t>(index)];
    JoinPart part;
    part.source = index;
    part.sourcePath = source.path;
    part.whole = true;
    part.endFrame = source.frames;
    plan.parts.push_back(part);
  }
  plan.fadeInSeconds = command.fadeInSeconds;
  plan.fadeOutSeconds = command.fadeOutSeconds;
  return plan;
}

}  // namespace tarvex::cli
