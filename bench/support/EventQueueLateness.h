#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <algorithm>

namespace tarvex::bench {

// The longest time the event queue went unserved while something ran: a
// timer of a few milliseconds is due again and again, and each time it fires
// late, the lateness is how long the queue waited beyond that. The timer
// sleeps between its turns, so the watch takes no core from what it watches
// (a zero-interval timer would spin the thread and slow the work measured).
class EventQueueLateness {
 public:
  static constexpr int kIntervalMs = 4;

  EventQueueLateness() {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(kIntervalMs);
    QObject::connect(&timer_, &QTimer::timeout, [this] { turn(); });
  }
  void start() {
    clock_.start();
    last_ = 0;
    longest_ = 0;
    stoppedAt_ = -1;
    timer_.start();
  }
  // Counts the stretch from the last turn to now as well.
  void stop() {
    turn();
    timer_.stop();
    stoppedAt_ = clock_.nsecsElapsed();
  }
  // Seconds from start() to stop() (to now while it runs).
  double seconds() const {
    return static_cast<double>(stoppedAt_ >= 0 ? stoppedAt_ : clock_.nsecsElapsed()) / 1e9;
  }
  // The longest lateness, in milliseconds.
  double longestMilliseconds() const { return static_cast<double>(longest_) / 1e6; }

 private:
  void turn() {
    const qint64 now = clock_.nsecsElapsed();
    const qint64 late = now - last_ - qint64{kIntervalMs} * 1'000'000;
    longest_ = std::max(longest_, late);
    last_ = now;
  }

  QTimer timer_;
  QElapsedTimer clock_;
  qint64 last_ = 0;
  qint64 longest_ = 0;
  qint64 stoppedAt_ = -1;
};

}  // namespace tarvex::bench
