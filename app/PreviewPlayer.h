#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>

#include "config/MainSettings.h"
#include "sources/SampleSpan.h"
#include "sources/SourceRecords.h"

class QTreeWidget;
class QWidget;

namespace tarvex {

class PlatformServices;
class PlaybackSession;
class SegmentList;

namespace skin {
class SkinObject;
}

inline const QString kPlayingStatus = QStringLiteral("Playing");

// What the preview plays: nothing, the selected file from where the bar
// stands, or one planned piece of it.
enum class PreviewTarget { Nothing, WholeFile, Piece };

// What the preview player reads, plays through and tells through.
struct PreviewPlayerParts {
  QWidget& window;  // parent of message boxes
  PlatformServices& platform;
  const QTreeWidget& files;   // the source list
  const QTreeWidget& pieces;  // the segment list
  const MainSettings& settings;
  const SourceRecords& sources;
  SegmentList& segments;
  PlaybackSession& session;
};

// The preview player's window side: chooses what the play command plays
// (the selected piece when the segment list has the focus under Custom or
// Unification, else the selected file from where the bar stands), hands its
// exact span to the playback session, and draws what the session reports:
// the position bar "pb", the time label "timecaption" and the piece row's
// "Playing" status. Seeks when the bar is dropped; steps the bar while
// stopped. Whether it plays, whether the bar is held, and which row plays
// are its own; the rest of the window reads them here.
class PreviewPlayer : public QObject {
  Q_OBJECT
 public:
  // `jobRunning`: whether a job runs now (the job display's answer); play
  // and the steps wait for it.
  PreviewPlayer(const PreviewPlayerParts& parts, std::function<bool()> jobRunning,
                QObject* parent = nullptr);

  // Draws on the position bar `pb` and the time label `timecaption` from now
  // on (either null: the skin lacks it).
  void attach(skin::SkinObject* pb, skin::SkinObject* timecaption);

  // The play command. Ignored while playing or while a job runs.
  void Play();
  void PlayWholeFile();
  void PlayPiece();
  // Ends the playback, restores the piece's status, puts the bar and the
  // label back to 0.
  void Stop();
  // Move the bar by one step while stopped.
  void StepForward();
  void StepBack();

  // The mouse on "pb".
  void BarMouseDown();
  void BarScrollTrack();
  void BarMouseUp();

  // The source row played moved (rows traded places, or one above it went).
  void FollowPlayedRow(int row);

  bool IsPlaying() const { return playing_; }
  // True while the mouse holds the bar.
  bool IsDragging() const { return dragging_; }
  // The source row played; meaningful while playing.
  int PlaySource() const { return playSource_; }
  // Where the bar "pb" stands (0 without one).
  int BarPosition() const;

  PreviewTarget target() const { return target_; }
  bool SegmentPlayback() const { return target_ == PreviewTarget::Piece; }
  int PlaySegment() const { return playSegment_; }
  // Frames into the stretch played (the file, or the piece) where the
  // playback last started or was moved to.
  int64_t PlayOffset() const { return playOffset_; }
  const QString& SavedStatus() const { return savedStatus_; }

 private:
  void showPosition(int64_t frame);
  void failPlayback(const QString& message);
  // Puts the piece's status back and forgets what played.
  void endTarget();
  // The range of the piece being played (the first source's under Unification).
  const MarkedRange* playedRange() const;
  SampleSpan pieceSpan() const;
  // The frames the bar spans while playing: the piece's or the file's.
  int64_t playedFrames() const;
  int span() const;
  bool jobRunning() const;
  void setBar(int position);
  void showTime(int64_t seconds);
  void step(bool forward);

  QWidget& window_;
  PlatformServices& platform_;
  const QTreeWidget& files_;
  const QTreeWidget& pieces_;
  const MainSettings& settings_;
  const SourceRecords& sources_;
  skin::SkinObject* pb_ = nullptr;
  skin::SkinObject* timecaption_ = nullptr;
  SegmentList& segments_;
  PlaybackSession& session_;
  std::function<bool()> jobRunning_;

  bool playing_ = false;
  bool dragging_ = false;
  int playSource_ = 0;

  PreviewTarget target_ = PreviewTarget::Nothing;
  int playSegment_ = 0;
  SampleSpan played_;  // the span handed to the session
  // The played source's length, for the time label.
  int64_t sourceFrames_ = 0;
  int64_t sourceSeconds_ = 0;
  int64_t playOffset_ = 0;
  QString savedStatus_;
};

}  // namespace tarvex
