#include "processing/Mp3CopyChoice.h"

#include "components/audio/AudioError.h"
#include "components/audio/mp3frames/Mp3FrameSource.h"
#include "components/audio/mp3frames/Mp3LosslessJoin.h"
#include "tags/EdgeAudioFrame.h"

#include <algorithm>

namespace tarvex {

namespace {

// Reasons listed one by one before the rest are counted.
constexpr int kListedReasons = 5;

}  // namespace

// The file opened well enough to be encoded, so the note names it without
// "Cannot open".
QString copyRefusal(const QString& indexError) {
  static const QString openFailure = QStringLiteral("Cannot open ");
  return indexError.startsWith(openFailure) ? indexError.mid(openFailure.size()) : indexError;
}

struct Mp3CopySources::Entry {
  std::once_flag indexed;
  std::unique_ptr<mp3frames::Mp3FrameSource> source;
  QString refusal;
};

Mp3CopySources::Mp3CopySources(const SplitPlan& plan) {
  for (const PiecePlan& piece : plan.pieces) {
    if (!entries_.contains(piece.sourcePath))
      entries_.emplace(piece.sourcePath, std::make_unique<Entry>());
  }
}

Mp3CopySources::~Mp3CopySources() = default;

const mp3frames::Mp3FrameSource* Mp3CopySources::sourceFor(const PiecePlan& piece) {
  const auto found = entries_.find(piece.sourcePath);
  if (found == entries_.end()) return nullptr;
  Entry& entry = *found->second;
  std::call_once(entry.indexed, [&entry, &piece] {
    try {
      entry.source = std::make_unique<mp3frames::Mp3FrameSource>(
          piece.sourcePath, readStoredEdgeAudio(piece.sourcePath));
    } catch (const AudioError& error) {
      entry.refusal = copyRefusal(error.message());
    }
  });
  return entry.source.get();
}

QString Mp3CopySources::fallbackNote() const {
  QStringList reasons;
  int unlisted = 0;
  for (const auto& [path, entry] : entries_) {
    if (entry->refusal.isEmpty()) continue;
    if (reasons.size() < kListedReasons) {
      reasons << entry->refusal;
    } else {
      ++unlisted;
    }
  }
  if (reasons.isEmpty()) return {};
  if (unlisted > 0) reasons << QStringLiteral("... and %1 more files.").arg(unlisted);
  return QStringLiteral(
             "MP3 (no re-encode): some pieces were encoded with the current MP3 settings "
             "instead of copied.\n") +
         reasons.join(QLatin1Char('\n'));
}

QString joinPlanRefusal(const JoinPlan& plan) {
  if (plan.parts.empty()) return QStringLiteral("There is nothing to join.");
  return {};
}

QString planCopiedJoin(const JoinPlan& plan, CopiedJoin& join) {
  if (QString refusal = joinPlanRefusal(plan); !refusal.isEmpty()) return refusal;
  QStringList files;
  for (const JoinPart& part : plan.parts) files << part.sourcePath;
  try {
    join.sources = mp3frames::openJoinSources(files, readStoredEdgeAudio);
    const mp3frames::Mp3FrameSource& first = *join.sources.front();
    if ((plan.outputRate > 0 && plan.outputRate != first.sampleRate()) ||
        (plan.outputChannels > 0 && plan.outputChannels != first.channels()))
      return QStringLiteral(
                 "The joined file takes %1 Hz with %2 channels from the first source, "
                 "which the parts do not have.")
          .arg(plan.outputRate)
          .arg(plan.outputChannels);
    join.spans.clear();
    for (size_t i = 0; i < plan.parts.size(); ++i) {
      const JoinPart& part = plan.parts[i];
      const mp3frames::Mp3FrameSource* source = join.sources[i].get();
      const int64_t total = source->totalSamples();
      const int64_t firstSample = part.whole ? 0 : std::clamp<int64_t>(part.firstFrame, 0, total);
      const int64_t endSample =
          part.whole ? total : std::clamp<int64_t>(part.endFrame, firstSample, total);
      join.spans.push_back({source, firstSample, endSample});
    }
    mp3frames::PieceFades fades;
    fades.in = int64_t{std::max(plan.fadeInSeconds, 0)} * first.sampleRate();
    fades.out = int64_t{std::max(plan.fadeOutSeconds, 0)} * first.sampleRate();
    join.plan = mp3frames::planSeamlessJoin(join.spans, fades);
  } catch (const AudioError& error) {
    return copyRefusal(error.message());
  }
  return {};
}

QString joinCopyRefusal(const JoinPlan& plan) {
  CopiedJoin join;
  return planCopiedJoin(plan, join);
}

QString joinFallbackNote(const QString& reason) {
  return QStringLiteral(
             "MP3 (no re-encode): the joined file was encoded with the current MP3 settings "
             "instead of copied.\n") +
         reason;
}

}  // namespace tarvex
