#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <exception>
#include <utility>

#include "app/views/WindowParts.h"
#include "platform/Error.h"
#include "sources/SampleSpan.h"

namespace tarvex {

class AudioFile2;
class AudioPlayer2;
class SegmentList;

inline const QString kPlayingStatus = QStringLiteral("Playing");

// Frames fed to the player per request.
constexpr int kPlayBlockFrames = 4410;

// The preview player: plays the selected source, or one planned piece of it,
// from the reader through the player component; moves the position bar "pb"
// and the time label "timecaption" while it plays; seeks when the bar is
// dropped; steps the bar while stopped. IsPlaying, IsDragging, PlaySource,
// BarPosition and positionText live in the window-wide state; the rest of the
// playback state lives here.
class PreviewPlayer : public QObject {
  Q_OBJECT
 public:
  PreviewPlayer(WindowParts& parts, SegmentList& segments, AudioFile2& reader, AudioPlayer2& player,
                QObject* parent = nullptr);

  // The play command: the selected piece when the segment list has the focus
  // under Custom or Unification, else the selected file from where the bar
  // stands. Ignored while playing or while a job runs.
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

  // The player component's events.
  void AudioPlayer21Timer(int64_t currentSamples);
  void AudioPlayer21RequestOnLoadArray();
  void AudioPlayer21EndArrayPlay();
  void AudioPlayer21EndPlay();

  bool SegmentPlayback() const { return segmentPlayback_; }
  int PlaySegment() const { return playSegment_; }
  int64_t PlayOffset() const { return playOffset_; }
  const QString& SavedStatus() const { return savedStatus_; }

 private:
  void Feed();
  // Opens the source and sets the player's format; false (and idle, the
  // error shown) when that failed.
  bool openSource(const SourceRecord& source);
  // The playback's one catch boundary: runs `work` (a command's playback
  // step or a player event); an exception that ends it stops the playback,
  // puts the player back to idle and shows its message.
  template <typename Work>
  void failingPlayback(Work&& work) {
    try {
      std::forward<Work>(work)();
    } catch (const std::exception& error) {
      failPlayback(userMessage(error));
    }
  }
  void failPlayback(const QString& message);
  // The range of the piece being played (the first source's under Unification).
  const MarkedRange* playedRange() const;
  int64_t pieceStartFrame() const;
  int64_t pieceFrames() const;
  SampleSpan pieceSpan() const;
  int span() const;
  int barPosition() const;
  void setBar(int position);
  void showTime(int64_t seconds);
  void step(bool forward);

  WindowParts& parts_;
  SegmentList& segments_;
  AudioFile2& reader_;
  AudioPlayer2& player_;

  bool segmentPlayback_ = false;
  int playSegment_ = 0;
  // Frames added to the player's count: the start frame of a whole-file
  // playback, 0 at the start of a piece, the sought offset after a drop.
  // 64-bit, so sources longer than 2^31 frames still scale right.
  int64_t playOffset_ = 0;
  QString savedStatus_;
};

}  // namespace tarvex
