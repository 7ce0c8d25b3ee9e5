#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <vector>

#include "config/MainSettings.h"
#include "sources/SourceRecord.h"
#include "sources/SourceRecords.h"
#include "sources/analysis/WaveformCache.h"
#include "sources/analysis/WaveformJob.h"

class QTreeWidget;

namespace tarvex {

class PreviewPlayer;

namespace skin {
class SkinObject;
}

// The selected source's waveform in the skin's "wave" object: the picture
// is built on a worker thread (a quick estimate first for MP3, then the exact
// one as it is decoded, kept for the session), the marked ranges are shaded
// and the position bar's place is the cursor. It follows the window's state
// a few times a second, so the lists and the player need not report to it.
// Without a "wave" object in the skin nothing is built.
class WaveformView : public QObject {
  Q_OBJECT
 public:
  // `files` is the source list, whose selected row is the source shown.
  WaveformView(const QTreeWidget& files, const MainSettings& settings, const SourceRecords& sources,
               const PreviewPlayer& player, QObject* parent = nullptr);
  ~WaveformView() override;

  // Starts following the skin's waveform object (null: the skin has none);
  // the cursor stands where the position bar `pb` does (null: no cursor).
  void attach(skin::SkinObject* wave, const skin::SkinObject* pb);
  // Brings the picture, the shading and the cursor up to date at once.
  void follow();

  // The file whose picture is shown or being built ("" when none).
  const QString& shownPath() const { return shownPath_; }
  bool exactShown() const { return exactShown_; }

 private:
  void showSource(const SourceRecord* source);
  void showSpans(int row);
  void showCursor(const SourceRecord* source);
  void takePeaks(const QString& path, const WaveformPeaks& peaks);
  // The row whose picture is shown: the playing source, else the selected one; -1: none.
  int shownRow() const;

  const QTreeWidget& files_;
  const MainSettings& settings_;
  const SourceRecords& sources_;
  const PreviewPlayer& player_;
  skin::SkinObject* wave_ = nullptr;
  const skin::SkinObject* pb_ = nullptr;
  WaveformCache cache_;
  WaveformJob job_;
  QTimer timer_;
  QString shownPath_;
  bool exactShown_ = false;
  std::vector<MarkedRange> shownRanges_;
  int shownLength_ = -1;
};

}  // namespace tarvex
