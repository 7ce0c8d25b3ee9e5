// playback_bench [FILE.mp3]
// Presses Play on FILE through the playback session, as the window does, and
// reports the longest time the event queue went unserved: while the playback
// opens and starts, while it starts from the middle of the file, and while it
// seeks. Beside it, the same file opened on the event queue's own thread, as
// the preview once did. Without FILE a 60-minute VBR MP3 without an Info
// header is made first: one minute of sox noise and tone encoded by
// `lame --vbr-new -t`, its frames repeated sixty times.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>

#include "bench/support/EventQueueLateness.h"
#include "components/audio/AudioFile2.h"
#include "components/output/AudioPlayer2.h"
#include "components/output/NullAudioOutput.h"
#include "player/PlaybackSession.h"
#include "sources/SourceProbe.h"

using namespace tarvex;

namespace {

bool run(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(600000) || process.exitCode() != 0) {
    std::fprintf(stderr, "%s failed: %s\n", qPrintable(program),
                 process.readAllStandardError().constData());
    return false;
  }
  return true;
}

QString makeHourLongVbrMp3(const QString& folder) {
  const QString wav = folder + QStringLiteral("/minute.wav");
  const QString minute = folder + QStringLiteral("/minute.mp3");
  if (!run(QStringLiteral("sox"),
           {"-n", "-r", "44100", "-c", "2", "-b", "16", wav, "synth", "60", "pinknoise", "sine",
            "330", "tremolo", "0.7", "60", "vol", "0.4"}) ||
      !run(QStringLiteral("lame"), {"--quiet", "--vbr-new", "-V", "4", "-t", wav, minute})) {
    return {};
  }
  QFile in(minute);
  if (!in.open(QIODevice::ReadOnly)) return {};
  const QByteArray bytes = in.readAll();
  const QString hour = folder + QStringLiteral("/hour.mp3");
  QFile out(hour);
  if (!out.open(QIODevice::WriteOnly)) return {};
  for (int i = 0; i < 60; ++i) out.write(bytes);
  return hour;
}

// Runs `press` on the event queue and keeps the queue going for `seconds`
// after it; returns the longest lateness of the watch in milliseconds.
double longestGap(const std::function<void()>& press, double seconds) {
  bench::EventQueueLateness watch;
  QEventLoop loop;
  watch.start();
  QTimer::singleShot(20, press);
  QTimer::singleShot(20 + static_cast<int>(seconds * 1000), &loop, &QEventLoop::quit);
  loop.exec();
  watch.stop();
  return watch.longestMilliseconds();
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  QTemporaryDir folder;
  const QString path =
      argc > 1 ? QString::fromLocal8Bit(argv[1]) : makeHourLongVbrMp3(folder.path());
  if (path.isEmpty()) return 1;

  QElapsedTimer timer;
  timer.start();
  const ProbeResult probe = probeSource(path, false);
  if (probe.outcome != ProbeResult::Outcome::Added) {
    std::fprintf(stderr, "%s\n", qPrintable(probe.reason));
    return 1;
  }
  const SourceRecord& source = probe.record;
  std::printf("%s: %.1f minutes, probed (adding the file) in %.3f s\n", qPrintable(path),
              static_cast<double>(source.durationMs) / 60000.0, timer.nsecsElapsed() / 1e9);

  // The file opened on the event queue's thread, measuring its length again.
  const double onQueue = longestGap(
      [&] {
        AudioFile2 reader;
        reader.OpenRead(path);
      },
      0.3);
  std::printf("open on the event queue's thread:       longest unserved gap %7.2f ms\n", onQueue);

  AudioPlayer2 player([] { return std::make_unique<NullAudioOutput>(1.0, false); });
  PlaybackSession session(player);
  const SampleSpan whole{0, source.frames};
  // Five rounds: on a shared machine one round may meet another program's
  // burst; the median is the program's figure, the worst is shown beside it.
  constexpr int kRounds = 5;
  struct Case {
    const char* name;
    std::function<void()> press;
    std::vector<double> gaps;
  };
  std::vector<Case> cases{
      {"Play from the start", [&] { session.play(source, whole, 0); }, {}},
      {"Play from the middle", [&] { session.play(source, whole, source.frames / 2); }, {}},
      {"bar dropped at 90% while playing", [&] { session.seek(source.frames * 9 / 10); }, {}},
  };
  for (int round = 0; round < kRounds; ++round) {
    for (Case& each : cases) {
      each.gaps.push_back(longestGap(each.press, 1.0));
    }
    session.stop();
  }
  double worstMedian = 0;
  for (Case& each : cases) {
    std::sort(each.gaps.begin(), each.gaps.end());
    const double median = each.gaps[each.gaps.size() / 2];
    worstMedian = std::max(worstMedian, median);
    std::printf("%-34s longest unserved gap: median %6.2f ms, worst of %d %6.2f ms\n", each.name,
                median, kRounds, each.gaps.back());
  }
  std::printf("playback: longest unserved gap %.2f ms (median; target <= 20 ms): %s\n", worstMedian,
              worstMedian <= 20.0 ? "met" : "MISSED");
  return 0;
}
