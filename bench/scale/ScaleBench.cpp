// Measures the main window at scale on generated audio:
//  - a 24-hour 8000 Hz mono WAV source (hours are configurable) split every
//    10 minutes into 22050 Hz mono MP3 pieces: piece count, the frames of each
//    piece against the plan, the time, the resident memory after the first
//    piece and at the end (flat when the job holds one block at a time), and
//    the longest time the event queue went unserved;
//  - the same source joined with a 10-minute one: the output's length;
//  - 500 short sources added to the list, then cleared: time and memory.
//
//   scale_bench [hours] [work folder]

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <memory>

#include "app/Tfm_main.h"
#include "app/views/SourceList.h"
#include "bench/support/EventQueueLateness.h"
#include "components/audio/AudioFile2.h"
#include "components/audio/SampleBlock.h"
#include "platform/PlatformServices.h"

namespace {

constexpr int kSourceRate = 8000;
constexpr int kPieceSeconds = 600;
constexpr int kPieceRate = 22050;
// 22050 Hz mono at 64 kbit/s: quick to encode; the LAME header makes the
// pieces' lengths exact.
constexpr char kSettings[] = "[mp3]\nfrequency=4\nchannel=0\nbitrate=5\n";

class BenchPlatform : public tarvex::PlatformServices {
 public:
  QString saveAnswer;
  int errors = 0;
  void showInformation(QWidget*, const QString& text) override {
    std::fprintf(stderr, "information: %s\n", qPrintable(text));
  }
  bool askYesNo(QWidget*, const QString&) override { return false; }
  void showError(QWidget*, const QString& text) override {
    ++errors;
    std::fprintf(stderr, "error: %s\n", qPrintable(text));
  }
  QStringList getOpenFileNames(QWidget*, const QString&, const QString&,
                               const QStringList&) override {
    return {};
  }
  std::optional<SaveChoice> getSaveFileName(QWidget*, const QString&, const QString&,
                                            const QStringList&, int) override {
    return SaveChoice{saveAnswer, 1};
  }
  bool openFolder(const QString&) override { return true; }
  bool openUrl(const QString&) override { return true; }
  bool openDocument(const QString&) override { return true; }
};

long residentKb() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
  }
  return 0;
}

// A quiet tone written block by block, so generating a day of audio needs
// no more memory than one block.
bool writeWav(const QString& path, int64_t frames) {
  tarvex::AudioFile2 writer;
  writer.SetPcmFormat(kSourceRate, 1);
  writer.SetWavFormat(kSourceRate, 1, 16);
  writer.CreateWrite(path, 0);
  int64_t done = 0;
  while (done < frames) {
    const int count = static_cast<int>(std::min<int64_t>(frames - done, kSourceRate * 10));
    tarvex::SampleBlock block;
    block.values.resize(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
      block.values[static_cast<size_t>(i)] = 0.25f * static_cast<float>((done + i) % 40) / 40.0f;
    }
    writer.WriteBlock(block);
    done += count;
  }
  writer.Close();
  return true;
}

// Samples the resident memory (every 100 ms) and the longest event-queue gap
// while a job runs; neither timer spins the thread it watches.
class JobWatch {
 public:
  JobWatch() {
    sampler_.setInterval(kSampleIntervalMs);
    QObject::connect(&sampler_, &QTimer::timeout, [this] {
      if (firstSampleKb_ == 0 && queue_.seconds() > 2.0) firstSampleKb_ = residentKb();
      peakKb_ = std::max(peakKb_, residentKb());
    });
  }
  void start() {
    queue_.start();
    sampler_.start();
  }
  void stop() {
    sampler_.stop();
    queue_.stop();
    peakKb_ = std::max(peakKb_, residentKb());
  }
  double seconds() const { return queue_.seconds(); }
  double longestGapMs() const { return queue_.longestMilliseconds(); }
  long firstSampleKb() const { return firstSampleKb_; }
  long peakKb() const { return peakKb_; }

 private:
  static constexpr int kSampleIntervalMs = 100;

  tarvex::bench::EventQueueLateness queue_;
  QTimer sampler_;
  long firstSampleKb_ = 0;
  long peakKb_ = 0;
};

// Serves the event queue until the window has no add and no job under way.
void waitUntilIdle(tarvex::Tfm_main& main) {
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (!main.busy()) loop.quit();
  });
  poll.start(2);
  loop.exec();
}

struct Window {
  explicit Window(const QString& work) {
    QDir().mkpath(work + "/program");
    QDir().mkpath(work + "/out");
    QFile settings(work + "/Quillmere.ini");
    if (settings.open(QIODevice::WriteOnly)) settings.write(kSettings);
    settings.close();
    tarvex::MainWindowEnvironment environment;
    environment.platform = &platform;
    environment.settingsFilePath = work + "/Quillmere.ini";
    environment.programFolder = work + "/program/";
    environment.defaultOutputDir = work + "/out/";
    main = std::make_unique<tarvex::Tfm_main>(environment);
    main->show();
    waitUntilIdle(*main);  // the window is shown and its first events served
  }
  BenchPlatform platform;
  std::unique_ptr<tarvex::Tfm_main> main;
};

int64_t framesOf(const QString& path) {
  tarvex::AudioFile2 reader;
  reader.OpenRead(path, 0, 1);
  const int64_t frames = reader.Samples();
  reader.Close();
  return frames;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("TARVEX_AUDIO_OUTPUT", "null");
  std::setvbuf(stdout, nullptr, _IOLBF, 0);  // each figure shows as soon as it is known
  QApplication app(argc, argv);
  const QStringList args = app.arguments();
  const int hours = args.size() > 1 ? args[1].toInt() : 24;
  QTemporaryDir temporary(QDir::tempPath() + "/tarvex-scale-bench-XXXXXX");
  const QString work = args.size() > 2 ? args[2] : temporary.path();
  QDir().mkpath(work);

  const QString day = work + QStringLiteral("/day.wav");
  const QString extra = work + QStringLiteral("/extra.wav");
  QElapsedTimer clock;
  clock.start();
  writeWav(day, int64_t{hours} * 3600 * kSourceRate);
  writeWav(extra, int64_t{kPieceSeconds} * kSourceRate);
  std::printf("generated %d h of %d Hz mono WAV in %.1f s\n", hours, kSourceRate,
              static_cast<double>(clock.elapsed()) / 1000.0);

  int failures = 0;
  {
    Window window(work + "/split");
    tarvex::MainSettings& state = window.main->mainSettings();
    window.main->sourceList().addFiles({day});
    waitUntilIdle(*window.main);
    state.splitFunction = tarvex::SplitFunction::EveryNSeconds;
    state.pieceSeconds = kPieceSeconds;
    JobWatch watch;
    watch.start();
    window.main->runCommand(tarvex::Command::SplitFromMenu);
    waitUntilIdle(*window.main);
    watch.stop();
    const QString out = work + "/split/out/";
    const QStringList pieces = QDir(out).entryList(QDir::Files, QDir::Name);
    const int expected = hours * 3600 / kPieceSeconds;
    int wrong = 0;
    for (const QString& name : pieces) {
      if (framesOf(out + name) != int64_t{kPieceSeconds} * kPieceRate) ++wrong;
      QFile::remove(out + name);
    }
    std::printf(
        "split %d h every %d s: %lld pieces (expected %d), %d of wrong length, %.1f s, "
        "memory %ld kB after 2 s, peak %ld kB, longest unserved %.1f ms, errors %d\n",
        hours, kPieceSeconds, static_cast<long long>(pieces.size()), expected, wrong,
        watch.seconds(), watch.firstSampleKb(), watch.peakKb(), watch.longestGapMs(),
        window.platform.errors);
    failures += (pieces.size() != expected || wrong != 0 || window.platform.errors != 0) ? 1 : 0;
  }
  {
    Window window(work + "/join");
    tarvex::MainSettings& state = window.main->mainSettings();
    window.main->sourceList().addFiles({day, extra});
    waitUntilIdle(*window.main);
    state.splitFunction = tarvex::SplitFunction::EveryNSeconds;
    window.platform.saveAnswer = work + "/join/out/joined";
    JobWatch watch;
    watch.start();
    window.main->runCommand(tarvex::Command::Join);
    waitUntilIdle(*window.main);
    watch.stop();
    const int64_t frames = framesOf(work + "/join/out/joined.mp3");
    // The sources reach the encoder at the first source's rate (8000 Hz); the
    // encoder writes the profile's rate, as for the pieces.
    const int64_t expected = (int64_t{hours} * 3600 + kPieceSeconds) * kPieceRate;
    std::printf(
        "join %d h + %d s: %lld frames (expected %lld), %.1f s, memory %ld kB after 2 s, "
        "peak %ld kB, longest unserved %.1f ms, errors %d\n",
        hours, kPieceSeconds, static_cast<long long>(frames), static_cast<long long>(expected),
        watch.seconds(), watch.firstSampleKb(), watch.peakKb(), watch.longestGapMs(),
        window.platform.errors);
    QFile::remove(work + "/join/out/joined.mp3");
    failures += (frames != expected || window.platform.errors != 0) ? 1 : 0;
  }
  {
    QDir().mkpath(work + "/many");
    QStringList paths;
    for (int i = 0; i < 500; ++i) {
      paths << work + QStringLiteral("/many/source%1.wav").arg(i, 3, 10, QChar('0'));
      writeWav(paths.back(), kSourceRate * 2);
    }
    Window window(work + "/list");
    const long before = residentKb();
    clock.restart();
    window.main->sourceList().addFiles(paths);
    waitUntilIdle(*window.main);
    const double addSeconds = static_cast<double>(clock.elapsed()) / 1000.0;
    const long listed = residentKb();
    const int rows = window.main->lv().topLevelItemCount();
    window.main->runCommand(tarvex::Command::Clear);
    std::printf("500 sources: %d rows, added in %.2f s, memory %ld -> %ld kB, %d after Clear\n",
                rows, addSeconds, before, listed, window.main->lv().topLevelItemCount());
    failures += rows != 500 ? 1 : 0;
  }
  return failures == 0 ? 0 : 1;
}
