#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

#include "config/MainSettings.h"
#include "sources/SourceRecord.h"
#include "sources/SourceRecords.h"
#include "sources/analysis/SilenceSearch.h"

class QTreeWidget;
class QWidget;

namespace tarvex {

class PlatformServices;
class SegmentList;
class SettingsFile;
class SourceList;
class Tfm_silence;

inline const QString kNoSourceForMarksMessage =
    QStringLiteral("Select a file in the source list first.");

// What the marking commands read and change.
struct MarkCommandsParts {
  QWidget& window;  // parent of message boxes and of the silence dialog
  PlatformServices& platform;
  const QTreeWidget& files;  // the source list, whose selected row is marked
  MainSettings& settings;    // the commands turn the Custom function on
  SourceRecords& sources;
  SourceList& sourceList;
  SegmentList& segments;
  const SettingsFile& settingsFile;  // the stored silence settings
};

// The commands that mark ranges for the user instead of by hand: "Find
// silences" (the pauses of the selected source become the gaps between
// marked ranges), "Save marks" and "Load marks" (a CUE sheet beside the
// source), and the CUE sheets that come with added files. Each turns the
// Custom function on, so the segment list shows the ranges found.
class MarkCommands : public QObject {
  Q_OBJECT
 public:
  explicit MarkCommands(const MarkCommandsParts& parts, QObject* parent = nullptr);
  ~MarkCommands() override;

  void FindSilences();
  void SaveMarks();
  void LoadMarks();
  bool searching() const { return search_.isRunning(); }
  // Ends a search under way (its result is dropped).
  void stopSearch();

  // The conversion progress display, in hundredths of a percent (0: empty).
  void setProgressDisplay(std::function<void(int)> show) { showProgress_ = std::move(show); }

  // For an add: the files given with every CUE sheet replaced by the audio
  // it names (remembering which sheet marks which file).
  QStringList expandCueSheets(const QStringList& files);
  // For an add: marks a probed source from its sheet, else from the chapters
  // of its tag, if it has either.
  void takeCueMarks(SourceRecord& record);

  Tfm_silence& fm_silence() { return *fmSilence_; }

 private:
  // The selected source, or null after telling the user to select one.
  SourceRecord* selectedSourceOrTell();
  void searchFinished(const QString& path, const SilenceResult& result);
  // Shows the new marks of a source under the Custom function.
  void showNewMarks();

  QWidget& window_;
  PlatformServices& platform_;
  const QTreeWidget& files_;
  MainSettings& mainSettings_;
  SourceRecords& sources_;
  SourceList& sourceList_;
  const SettingsFile& settingsFile_;
  SegmentList& segments_;
  Tfm_silence* fmSilence_ = nullptr;
  SilenceSearch search_;
  int searchRow_ = -1;
  std::function<void(int)> showProgress_;
  QHash<QString, QString> sheetForAudio_;  // audio path -> the sheet that named it
  // Audio path -> the label file its marks were last loaded from: Save marks
  // writes that file back rather than a CUE sheet.
  QHash<QString, QString> labelFileFor_;
};

}  // namespace tarvex
