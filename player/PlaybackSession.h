#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

#include "sources/SampleSpan.h"
#include "sources/SourceRecord.h"

namespace tarvex {

class AudioPlayer2;
class BlockFeeder;

// One playback of an exact span of a source: the file is opened with the
// length its probe found and decoded on a feeder thread, and the player
// component plays the blocks on the owner's thread. The session reports where
// the playback is, that it reached the span's end, or that it failed; it never
// touches a window. Frames are the source's own sample frames.
class PlaybackSession : public QObject {
  Q_OBJECT
 public:
  explicit PlaybackSession(AudioPlayer2& player, QObject* parent = nullptr);
  ~PlaybackSession() override;
  PlaybackSession(const PlaybackSession&) = delete;
  PlaybackSession& operator=(const PlaybackSession&) = delete;

  // Plays `span` of `source` from frame `from` (kept within the span); a
  // playback already running ends first. A file that is not there (or is a
  // folder) fails at once: failed() is emitted before this returns. Any
  // other failure comes later, from the feeder.
  void play(const SourceRecord& source, SampleSpan span, int64_t from);
  // Goes on from frame `frame` (kept within the span).
  void seek(int64_t frame);
  // Ends the playback; no signal follows.
  void stop();

  bool isPlaying() const { return playing_; }
  SampleSpan span() const { return span_; }
  // The source frame heard last reported.
  int64_t position() const { return position_; }

 signals:
  // The source frame being heard, about every 50 ms of the output's clock.
  void positionChanged(qint64 frame);
  // Everything up to the span's end was heard; the session is idle again.
  void ended();
  // Opening or decoding failed; the session is idle again.
  void failed(const QString& message);

 private:
  void collect();
  void fail(const QString& message);
  void retireFeeder();

  AudioPlayer2& player_;
  std::unique_ptr<BlockFeeder> feeder_;
  // Feeders asked to end that may still be finishing a block or a seek;
  // dropped once idle, waited for when the session goes.
  std::vector<std::unique_ptr<BlockFeeder>> retired_;
  SampleSpan span_;
  int64_t base_ = 0;  // the frame the player's count starts from
  int64_t position_ = 0;
  bool playing_ = false;
};

}  // namespace tarvex
