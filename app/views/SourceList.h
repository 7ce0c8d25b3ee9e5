#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "app/views/SegmentList.h"
#include "config/MainSettings.h"
#include "sources/SourceProbe.h"
#include "sources/SourceRecords.h"

class QTreeWidget;
class QWidget;

namespace tarvex {

class PlatformServices;
class SourceProbing;

namespace skin {
class SkinObject;
}

inline const QString kAddFileFilter = QStringLiteral("MP3 Files(*.mp3;*.mp2)");
inline const QString kAllAudioFilter =
    QStringLiteral("All Supported Audio(*.mp3;*.mp2;*.wav;*.ogg;*.wma;*.flac)");
inline const QString kCueSheetFilter = QStringLiteral("CUE Sheets(*.cue)");
inline const QString kLabelFileFilter = QStringLiteral("Label files(*.txt)");
inline const QString kZeroLengthMessage = QStringLiteral(" this File is Error or not supported.");
inline const QString kNotSupportedMessage = QStringLiteral(" this File is not supported.");
inline const QString kAddFolderCaption = QStringLiteral("Add File Directory");

// What the source list shows, fills and tells through.
struct SourceListParts {
  QWidget& window;  // parent of message boxes and file dialogs
  PlatformServices& platform;
  QTreeWidget& files;  // the list this view fills
  QWidget& sm;         // the instructions over the empty lists
  const MainSettings& settings;
  SourceRecords& sources;  // one record per row of `files`
  SegmentList& segments;
};

// What the source list needs from the rest of the window.
struct SourceListServices {
  std::function<QString()> chooseFolder;  // the folder dialog; "" when cancelled
  // The preview player: stops it, whether it plays, the source row it plays,
  // and that row's new place when rows move under it.
  std::function<void()> stopPlayback;
  std::function<bool()> isPlaying;
  std::function<int()> playedRow;
  std::function<void(int)> playedRowMoved;
  // The files an add takes for the files given (a CUE sheet gives the audio
  // it names); none: the files as given.
  std::function<QStringList(const QStringList&)> expandFiles;
  // Marks a probed source before its row goes in (from a CUE sheet beside it).
  std::function<void(SourceRecord&)> takeMarks;
  // True while a job runs: the rows stay as the job found them.
  std::function<bool()> jobRunning;
};

// The source list: a view of the source records. Adds files and folders
// (probed on worker threads, rows appearing in list order), and moves, removes
// and clears rows. Selecting a row plans its segment list.
class SourceList {
 public:
  SourceList(const SourceListParts& parts, SourceListServices services);
  ~SourceList();

  // Shows the selected file's path on `nm` from now on (null: the skin lacks it).
  void attach(skin::SkinObject* nm) { nm_ = nm; }

  void AddFiles();
  void AddFolder();
  // Adds the given files as Add File does (used for files dropped on the window).
  void addFiles(const QStringList& files);

  void MoveSourceUp();
  void MoveSourceDown();
  void RemoveSource();
  void ClearSources();
  void lvClick();
  void FitNameColumn();
  // The row selected last (0 before any), selected again when none is.
  int currentRow() const { return current_; }
  // Selects the row of the source a job works on; clicks keep returning to it
  // while the job runs.
  void follow(int row);

  // True while an add runs (files are probed in the background): list
  // commands wait until its rows are in.
  bool isAdding() const { return probing_ != nullptr; }
  // Called when an add has put in its last row.
  void setAddFinished(std::function<void()> addFinished) { addFinished_ = std::move(addFinished); }
  // The row texts again from the records (after the tag editor changed captions).
  void refreshCaptions();

  // The size text of a row ("3.42MB").
  static QString sizeText(qint64 bytes);

 private:
  void startAdd(const QStringList& files, bool fromFolder);
  // Puts in the row of one probed file, or tells why it was refused.
  void addProbed(const ProbeResult& result);
  void finishAdd();
  bool isPlaying() const { return services_.isPlaying && services_.isPlaying(); }
  int playedRow() const { return services_.playedRow ? services_.playedRow() : -1; }
  // Rows `a` and `b` traded places: the played row follows its file.
  void followSwap(int a, int b);
  // Row `row` went: the played row below it moves up; the played row itself stops.
  void followRemoval(int row);
  void showRow(int row);
  // The path line "nm": the selected file's full path, or empty.
  void showPath(const QString& path);
  bool jobRunning() const { return services_.jobRunning && services_.jobRunning(); }

  QWidget& window_;
  PlatformServices& platform_;
  QTreeWidget& files_;
  QWidget& sm_;
  const MainSettings& settings_;
  SourceRecords& sources_;
  SegmentList& segments_;
  skin::SkinObject* nm_ = nullptr;
  SourceListServices services_;
  std::unique_ptr<SourceProbing> probing_;
  std::function<void()> addFinished_;
  int current_ = 0;
};

}  // namespace tarvex
