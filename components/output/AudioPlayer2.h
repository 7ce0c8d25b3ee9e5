#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "components/audio/SampleBlock.h"

namespace tarvex {

class AudioOutput;

// The player component (`AudioPlayer21`): plays the sample blocks it is given,
// in the format of SetPcmFormat, on the output its owner's factory makes for
// each playback (the sound device, in the window's program) or, without a
// factory or when it makes none, on a null output that only keeps time.
//
// It keeps its own copies of the blocks in a queue. While playing it asks for
// more with OnRequestOnLoadArray when the queue runs low, raises
// OnEndArrayPlay when the queue has run dry, and OnEndPlay when everything
// given has been heard and no more came (the playback then has ended by
// itself). OnTimer comes about every 50 ms with the frames heard since the
// last Play or Flush and the recent peak levels (0..32767). Every event is
// raised on the thread that owns the component (the user-interface thread),
// from its own timer; after Stop no event comes.
//
// Sound starts and stops with a ramp of a few milliseconds, so neither makes
// a click; a Flush fades the old sound out and the new one in.
class AudioPlayer2 : public QObject {
  Q_OBJECT
 public:
  // Makes the output of one playback; may give null (no device).
  using OutputFactory = std::function<std::unique_ptr<AudioOutput>()>;

  explicit AudioPlayer2(OutputFactory makeOutput = {}, QObject* parent = nullptr);
  ~AudioPlayer2() override;
  AudioPlayer2(const AudioPlayer2&) = delete;
  AudioPlayer2& operator=(const AudioPlayer2&) = delete;

  // Format of the blocks to come; used from the next Play. Throws AudioError
  // for a rate outside 1000..768000 Hz or a channel count outside 1..8.
  void SetPcmFormat(int sampleRate, int channels);
  // Starts playing what is queued and what is loaded from now on; a playback
  // already running is stopped first. Throws AudioError when the output
  // cannot be opened.
  void Play();
  // Ends the playback: queued sound is dropped, no further event comes.
  void Stop();
  // Queues a copy of the block (whole frames only); an empty block is ignored.
  void LoadBlock(const SampleBlock& block);
  // Drops the queued sound (the caller has moved its reader) and starts the
  // OnTimer frame count again at 0.
  void Flush();

  bool isPlaying() const { return playing_; }
  // True when the running (or last) playback went to the null output.
  bool usesNullOutput() const { return usesNull_; }
  int64_t queuedFrames() const;
  // True while the queue is below what the player keeps ahead of the output.
  bool wantsMore() const { return queuedFrames() < lowWaterFrames(); }

  // While on, a queue that ran dry does not end the playback: the blocks come
  // from a producer that is late, not done (a decoder on another thread).
  // Turned off, the playback ends once what was given has been heard. Stop
  // turns it off.
  void setMoreToCome(bool on) { moreToCome_ = on; }

  // The null output's clock runs this many times faster than real time
  // (default 1). Used from the next Play.
  void setNullOutputSpeed(double speed);
  // When on, the null output keeps what it consumed (from the next Play).
  void setRecording(bool on) { recording_ = on; }
  // What the null output consumed during the running or last playback.
  std::vector<float> recordedAudio() const;

 signals:
  void OnRequestOnLoadArray();
  void OnEndArrayPlay();
  void OnEndPlay();
  void OnTimer(qint64 currentSamples, int levelLeft, int levelRight);

 private:
  std::unique_ptr<AudioOutput> createOutput();
  void service();
  void feedOutput();
  void raiseTimer();
  int64_t playedFrames() const;
  int64_t lowWaterFrames() const;
  std::vector<float> takeFadedTail();
  void clearQueue();
  void endOutput();
  void retire(std::unique_ptr<AudioOutput> output);

  int sampleRate_ = 44100;
  int channels_ = 2;
  int playRate_ = 44100;  // the format of the running playback
  int playChannels_ = 2;

  std::deque<std::vector<float>> blocks_;
  size_t frontOffset_ = 0;    // values of blocks_.front() already written
  int64_t queuedValues_ = 0;  // values not yet written

  std::unique_ptr<AudioOutput> output_;
  std::unique_ptr<AudioOutput> retiring_;  // a stopped device playing out its fade
  QTimer serviceTimer_;
  QTimer retireTimer_;
  QElapsedTimer sinceTimerEvent_;
  QElapsedTimer sinceDry_;

  bool playing_ = false;
  bool usesNull_ = true;
  uint64_t generation_ = 0;  // changes with every Play and Stop
  bool sourceDry_ = false;   // the last request brought nothing
  bool endArrayRaised_ = false;
  int64_t writtenFrames_ = 0;  // frames handed to the output since Play
  int64_t countBase_ = 0;      // written-frame index where the frame count restarts
  int64_t rampInStart_ = 0;    // written-frame index where the sound fades in
  int levelLeft_ = 0;
  int levelRight_ = 0;

  OutputFactory makeOutput_;
  bool moreToCome_ = false;
  double nullSpeed_ = 1.0;
  bool recording_ = false;
  std::vector<float> lastRecording_;
};

// The designer name of the instance the main window owns.
using AudioPlayer21 = AudioPlayer2;

}  // namespace tarvex
