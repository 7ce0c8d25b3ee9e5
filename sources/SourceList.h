#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "sources/SegmentList.h"
#include "sources/WindowParts.h"

namespace tarvex {

class AudioFile2;

inline const QString kAddFileFilter = QStringLiteral("MP3 Files(*.mp3;*.mp2)");
inline const QString kAllAudioFilter =
    QStringLiteral("All Supported Audio(*.mp3;*.mp2;*.wav;*.ogg;*.wma;*.flac)");
inline const QString kZeroLengthMessage = QStringLiteral(" this File is Error or not supported.");
inline const QString kNotSupportedMessage = QStringLiteral(" this File is not supported.");
inline const QString kAddFolderCaption = QStringLiteral("Add File Directory");

// Floors of the position bar's maximum for a short source.
constexpr int kAddFileBarFloor = 1084;
constexpr int kAddFolderBarFloor = 1014;

// What the source list needs from the rest of the window.
struct SourceListServices {
  AudioFile2* reader = nullptr;           // the shared reader, used for probing
  std::function<QString()> chooseFolder;  // the folder dialog; "" when cancelled
  std::function<void()> stopPlayback;     // stops the preview player
};

// The source list: adds files and folders, probes each through the reader and
// its tags, keeps one listrecord and one AudioFileinfo per row, and moves,
// removes and clears rows. Selecting a row plans its segment list.
class SourceList {
 public:
  SourceList(WindowParts& parts, SegmentList& segments, SourceListServices services);

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

  // True while an add runs (it pumps the event queue): list commands wait.
  bool isAdding() const { return adding_; }

  // The size text of a row ("3.42MB").
  static QString sizeText(qint64 bytes);

 private:
  // Probes one file into the entry and row `row`; throws on failure.
  void ProbeSource(int row, const QString& path, int barFloor);
  // Adds one file at the end of the list; false when it was refused.
  bool addOne(const QString& path, bool fromFolder);
  void dropRow(int row);
  void resetReader();
  void finishAdd(bool selectPlaySource);
  void swapRows(int a, int b);

  WindowParts& parts_;
  SegmentList& segments_;
  SourceListServices services_;
  bool adding_ = false;
};

}  // namespace tarvex
