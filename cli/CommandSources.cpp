#include "cli/CommandSources.h"

#include <atomic>

#include "platform/Error.h"
#include "sources/SampleSpan.h"
#include "sources/SourceProbe.h"
#include "sources/analysis/SilenceMarks.h"
#include "sources/chapters/ChapterMarks.h"
#include "sources/cue/CueMarks.h"
#include "sources/cue/CueSheetError.h"
#include "sources/cue/LabelFile.h"

namespace tarvex::cli {

namespace {

// Marks one probed source from its CUE sheet or its pauses; throws Error or
// CueSheetError with the reason it cannot be.
void markSource(const CliCommand& command, SourceRecord& record) {
  if (command.mode == SplitMode::Cue) {
    if (markFromSheetFor(record, command.cueSheet).isEmpty()) {
      throw Error(
          QStringLiteral("%1: no CUE sheet beside it; name one with --cue=SHEET").arg(record.path));
    }
    return;
  }
  if (command.mode == SplitMode::Labels) {
    markFromLabelFile(record, command.labelFile);
    return;
  }
  if (command.mode == SplitMode::Chapters) {
    if (!markFromChapters(record)) {
      throw Error(QStringLiteral("%1: its tag holds no chapter to cut").arg(record.path));
    }
    return;
  }
  SilenceSettings settings;
  settings.thresholdDb = command.thresholdDb;
  settings.minimumSilenceSeconds = command.minSilenceMs / 1000.0;
  const std::atomic<bool> stop{false};
  const SilenceResult result = findSoundRanges(record.path, settings, stop);
  if (result.soundRanges.empty()) {
    throw Error(QStringLiteral("%1 is silent throughout (below %2 dB): nothing to cut")
                    .arg(record.path)
                    .arg(settings.thresholdDb));
  }
  if (result.pauses.empty()) {
    throw Error(QStringLiteral("%1: no pause of %2 ms below %3 dB was found; nothing cut")
                    .arg(record.path)
                    .arg(command.minSilenceMs)
                    .arg(settings.thresholdDb));
  }
  record.replaceMarks(silenceMarks(record, result));
}

}  // namespace

JobSettings jobSettingsOf(const CliCommand& command, const QString& outputFolder) {
  JobSettings settings;
  settings.outputDir = outputFolder;
  settings.fadeIn = command.fadeInSeconds > 0;
  settings.fadeInSeconds = command.fadeInSeconds;
  settings.fadeOut = command.fadeOutSeconds > 0;
  settings.fadeOutSeconds = command.fadeOutSeconds;
  settings.nameTemplate = command.nameTemplate;
  if (command.action == Action::Join) {
    settings.function = SplitFunction::EveryNSeconds;  // whole files
    return settings;
  }
  switch (command.mode) {
    case SplitMode::Every:
      settings.function = SplitFunction::EveryNSeconds;
      settings.pieceSeconds = command.everySeconds;
      break;
    case SplitMode::Pieces:
      settings.function = SplitFunction::EqualPieces;
      settings.pieceCount = command.pieceCount;
      break;
    case SplitMode::Ranges:
      settings.function = SplitFunction::Unification;
      break;
    case SplitMode::Cue:
    case SplitMode::Chapters:
    case SplitMode::Labels:
    case SplitMode::Silences:
      settings.function = SplitFunction::Custom;
      break;
  }
  return settings;
}

std::vector<SourceRecord> commandSources(const CliCommand& command, QStringList& failures) {
  std::vector<SourceRecord> records;
  for (const QString& file : command.files) {
    // Probed as Add Folder does: a source shorter than a second is kept.
    ProbeResult probed = probeSource(file, true);
    if (probed.outcome == ProbeResult::Outcome::NotSupported) {
      failures << (probed.reason.isEmpty()
                       ? QStringLiteral("%1: not an audio file the program can read").arg(file)
                       : probed.reason);
      continue;
    }
    SourceRecord& record = probed.record;
    try {
      if (command.action == Action::Split && command.mode != SplitMode::Every &&
          command.mode != SplitMode::Pieces && command.mode != SplitMode::Ranges) {
        markSource(command, record);
      }
    } catch (const CueSheetError& error) {
      failures << error.message();
      continue;
    } catch (const std::exception& error) {
      failures << userMessage(error);
      continue;
    }
    records.push_back(std::move(record));
  }
  // The typed ranges are the shared ones, on the first source.
  if (command.action == Action::Split && command.mode == SplitMode::Ranges && !records.empty()) {
    SourceRecord& shared = records.front();
    shared.replaceMarks(marksAtTimes(command.rangeTimes, shared));
  }
  return records;
}

}  // namespace tarvex::cli
