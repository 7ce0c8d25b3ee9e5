#include "app/MarkCommands.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QTreeWidget>
#include <algorithm>

#include "app/dialogs/Tfm_silence.h"
#include "app/views/ListRows.h"
#include "app/views/SegmentList.h"
#include "app/views/SourceList.h"
#include "config/SettingsSchema.h"
#include "platform/PlatformServices.h"
#include "sources/analysis/SilenceMarks.h"
#include "sources/chapters/ChapterMarks.h"
#include "sources/cue/CueFileMatch.h"
#include "sources/cue/CueMarks.h"
#include "sources/cue/CueSheetError.h"
#include "sources/cue/CueSheetReader.h"
#include "sources/cue/CueSheetWriter.h"
#include "sources/cue/LabelFile.h"

namespace tarvex {
namespace {

QString shownName(const QString& path) {
  return QFileInfo(path).fileName();
}

QString pauseText(const SilenceSettings& settings) {
  return QStringLiteral("%1 s below %2 dB")
      .arg(QString::number(settings.minimumSilenceSeconds, 'f', 1))
      .arg(settings.thresholdDb);
}

SilenceSettings storedSilenceSettings(const SettingsFile& settings) {
  const SettingsValues values =
      LoadSettings(settings, SettingGroup::Silence, SettingsReader::SettingsDialog);
  // A hand-edited file may hold anything: the dialog's bounds apply.
  SilenceSettings result;
  result.thresholdDb =
      std::clamp(values.number(Setting::SilenceThresholdDb), Tfm_silence::kLowestThresholdDb,
                 Tfm_silence::kHighestThresholdDb);
  result.minimumSilenceSeconds =
      std::clamp(values.number(Setting::SilenceMinimumMs) / 1000.0,
                 Tfm_silence::kShortestPauseSeconds, Tfm_silence::kLongestPauseSeconds);
  return result;
}

}  // namespace

MarkCommands::MarkCommands(const MarkCommandsParts& parts, QObject* parent)
    : QObject(parent),
      window_(parts.window),
      platform_(parts.platform),
      files_(parts.files),
      mainSettings_(parts.settings),
      sources_(parts.sources),
      sourceList_(parts.sourceList),
      settingsFile_(parts.settingsFile),
      segments_(parts.segments) {
  fmSilence_ = new Tfm_silence(settingsFile_, platform_, &window_);
  connect(&search_, &SilenceSearch::progress, this, [this](int percent) {
    if (showProgress_) showProgress_(percent * 100);
  });
  connect(&search_, &SilenceSearch::finished, this, &MarkCommands::searchFinished);
  connect(&search_, &SilenceSearch::failed, this, [this](const QString&, const QString& message) {
    if (showProgress_) showProgress_(0);
    platform_.showError(&window_, message);
  });
}

MarkCommands::~MarkCommands() {
  search_.stop();
}

SourceRecord* MarkCommands::selectedSourceOrTell() {
  const int row = selectedRow(files_);
  if (!sources_.contains(row)) {
    platform_.showInformation(&window_, kNoSourceForMarksMessage);
    return nullptr;
  }
  return &sources_.at(row);
}

void MarkCommands::showNewMarks() {
  mainSettings_.splitFunction = SplitFunction::Custom;
  sourceList_.lvClick();
  segments_.UpdateTotalTime();
}

void MarkCommands::stopSearch() {
  if (!search_.isRunning()) return;
  search_.stop();
  if (showProgress_) showProgress_(0);
}

void MarkCommands::FindSilences() {
  if (search_.isRunning()) return;  // one search at a time
  const SourceRecord* source = selectedSourceOrTell();
  if (source == nullptr) return;
  const QString path = source->path;
  searchRow_ = selectedRow(files_);
  if (fmSilence_->exec() != QDialog::Accepted) return;
  search_.start(path, storedSilenceSettings(settingsFile_));
}

void MarkCommands::searchFinished(const QString& path, const SilenceResult& result) {
  if (showProgress_) showProgress_(0);
  // The list may have changed while the search ran: find the source again.
  int row = searchRow_;
  if (!sources_.contains(row) || sources_.at(row).path != path) {
    row = -1;
    for (int candidate = 0; candidate < sources_.count(); ++candidate) {
      if (sources_.at(candidate).path == path) row = candidate;
    }
  }
  if (row < 0) return;  // removed meanwhile
  SourceRecord& source = sources_.at(row);
  const SilenceSettings settings = storedSilenceSettings(settingsFile_);
  if (result.soundRanges.empty()) {
    platform_.showInformation(
        &window_, QStringLiteral("\"%1\" is silent throughout (below %2 dB): no ranges marked.")
                      .arg(shownName(path))
                      .arg(settings.thresholdDb));
    return;
  }
  if (result.pauses.empty()) {
    platform_.showInformation(
        &window_, QStringLiteral("No pause of %1 was found in \"%2\"; the marks are unchanged.")
                      .arg(pauseText(settings), shownName(path)));
    return;
  }
  source.replaceMarks(silenceMarks(source, result));
  showNewMarks();
}

void MarkCommands::SaveMarks() {
  const SourceRecord* selected = selectedSourceOrTell();
  if (selected == nullptr) return;
  // The ranges the segment list shows: the shared ones under Unification.
  SourceRecord record = *selected;
  if (const SourceRecord* marked =
          sources_.markedSource(mainSettings_.splitFunction, selectedRow(files_))) {
    record.ranges = marked->ranges;
  }
  const QString labels = labelFileFor_.value(record.path);
  const QString target = labels.isEmpty() ? marksSheetPath(record.path) : labels;
  const bool exists = QFileInfo::exists(target);
  if (exists && !platform_.askYesNo(&window_, QStringLiteral("\"%1\" already exists. Replace it?")
                                                  .arg(QDir::toNativeSeparators(target)))) {
    return;
  }
  size_t saved = 0;
  if (labels.isEmpty()) {
    const CueSheet sheet = exists ? cueSheetOfMarksOver(record, target) : cueSheetOfMarks(record);
    writeCueSheet(target, sheet, exists);
    saved = sheet.tracks.size();
  } else {
    const std::vector<LabelRange> lines = labelsOfMarks(record);
    writeLabelFile(target, lines, exists);
    saved = lines.size();
  }
  platform_.showInformation(&window_,
                            QStringLiteral("%1 marked ranges of \"%2\" were saved to \"%3\".")
                                .arg(saved)
                                .arg(shownName(record.path), QDir::toNativeSeparators(target)));
}

void MarkCommands::LoadMarks() {
  SourceRecord* selected = selectedSourceOrTell();
  if (selected == nullptr) return;
  const QString path = selected->path;
  const QStringList chosen = platform_.getOpenFileNames(&window_, QStringLiteral("Load marks"),
                                                        QFileInfo(path).absolutePath(),
                                                        {kCueSheetFilter, kLabelFileFilter});
  if (chosen.isEmpty()) return;
  // The dialog is modal, but look the source up again all the same.
  const int row = selectedRow(files_);
  if (!sources_.contains(row) || sources_.at(row).path != path) return;
  SourceRecord marked = sources_.at(row);
  // Both throw: the command ends with the message.
  if (isLabelFile(chosen.front())) {
    markFromLabelFile(marked, chosen.front());
    labelFileFor_.insert(path, chosen.front());
  } else {
    markFromCueFile(marked, chosen.front());
    labelFileFor_.remove(path);
  }
  sources_.at(row) = std::move(marked);
  showNewMarks();
}

QStringList MarkCommands::expandCueSheets(const QStringList& files) {
  // Adds do not overlap: what an earlier add left unused is stale.
  sheetForAudio_.clear();
  QStringList taken;
  QSet<QString> takenPaths;  // a sheet's audio chosen beside it is added once
  for (const QString& file : files) {
    if (QFileInfo(file).suffix().compare(QLatin1String("cue"), Qt::CaseInsensitive) != 0) {
      if (!takenPaths.contains(QFileInfo(file).absoluteFilePath())) taken << file;
      takenPaths.insert(QFileInfo(file).absoluteFilePath());
      continue;
    }
    try {
      const CueSheet sheet = readCueSheet(file);
      for (int index = 0; index < static_cast<int>(sheet.files.size()); ++index) {
        const QString audio = cueAudioPath(sheet, index, file);
        if (audio.isEmpty()) {
          platform_.showInformation(&window_,
                                    QStringLiteral("The file \"%1\" named by the CUE sheet \"%2\" "
                                                   "was not found beside it.")
                                        .arg(sheet.files[static_cast<size_t>(index)].name,
                                             QDir::toNativeSeparators(file)));
          continue;
        }
        const QString absolute = QFileInfo(audio).absoluteFilePath();
        sheetForAudio_.insert(absolute, file);
        if (!takenPaths.contains(absolute)) taken << absolute;
        takenPaths.insert(absolute);
      }
    } catch (const CueSheetError& error) {
      platform_.showInformation(&window_, error.message());
    }
  }
  return taken;
}

void MarkCommands::takeCueMarks(SourceRecord& record) {
  const QString absolute = QFileInfo(record.path).absoluteFilePath();
  const QString sheet = sheetForAudio_.take(absolute);
  try {
    // A sheet wins over the file's own chapters.
    if (markFromSheetFor(record, sheet).isEmpty() && !markFromChapters(record)) return;
    mainSettings_.splitFunction = SplitFunction::Custom;
  } catch (const CueSheetError& error) {
    // The file is still added, unmarked; the user learns that and why.
    platform_.showInformation(&window_, QStringLiteral("%1\n\n\"%2\" was added without marks.")
                                            .arg(error.message(), shownName(record.path)));
  }
}

}  // namespace tarvex
