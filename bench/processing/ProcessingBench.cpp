// Measures the split and join jobs of the main window on generated 44.1 kHz
// stereo MP3 files: a 10-minute and a 60-minute file cut into 60-second
// pieces with the default encoder profile, two files joined, and the
// 60-minute file probed as Add File does. Beside each job: the same audio
// decoded and encoded directly through libmpg123 and libmp3lame (the floor),
// the ratio, the peak memory of the process doing the work, and the longest
// time the event queue went unserved during the job. ffmpeg's segment
// re-encode of the same files is the peer.
//
// Every measurement runs in a child process of its own, so each peak memory
// is that job's alone.
//
//   processing_bench [work folder]

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <lame/lame.h>
#include <mpg123.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <vector>

#include "app/Tfm_main.h"
#include "app/views/SourceList.h"
#include "bench/support/EventQueueLateness.h"
#include "platform/PlatformServices.h"

namespace {

constexpr int kRate = 44100;
constexpr int kChannels = 2;
constexpr int kPieceSeconds = 60;

// Answers the save dialog with a fixed path; prints errors.
class BenchPlatform : public tarvex::PlatformServices {
 public:
  QString saveAnswer;
  void showInformation(QWidget*, const QString& text) override {
    std::fprintf(stderr, "information: %s\n", qPrintable(text));
  }
  bool askYesNo(QWidget*, const QString&) override { return false; }
  void showError(QWidget*, const QString& text) override {
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

double peakMegabytes(int who) {
  rusage usage{};
  getrusage(who, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

// --- the floor: libmpg123 and libmp3lame with nothing in between ---

lame_t defaultProfileLame() {
  lame_t lame = lame_init();
  lame_set_in_samplerate(lame, kRate);
  lame_set_num_channels(lame, kChannels);
  lame_set_out_samplerate(lame, kRate);
  lame_set_brate(lame, 128);
  lame_set_quality(lame, 5);
  lame_set_mode(lame, STEREO);
  lame_set_VBR(lame, vbr_off);
  lame_set_write_id3tag_automatic(lame, 0);
  lame_set_bWriteVbrTag(lame, 1);
  lame_init_params(lame);
  return lame;
}

struct DirectOutput {
  lame_t lame = nullptr;
  std::FILE* file = nullptr;
  std::vector<unsigned char> encoded = std::vector<unsigned char>(1 << 20);

  void open(const QString& path) {
    lame = defaultProfileLame();
    file = std::fopen(QFile::encodeName(path).constData(), "wb");
  }
  void write(const float* values, int frames) {
    const int bytes = lame_encode_buffer_interleaved_ieee_float(
        lame, values, frames, encoded.data(), static_cast<int>(encoded.size()));
    if (bytes > 0) std::fwrite(encoded.data(), 1, static_cast<size_t>(bytes), file);
  }
  void close() {
    const int bytes = lame_encode_flush(lame, encoded.data(), static_cast<int>(encoded.size()));
    if (bytes > 0) std::fwrite(encoded.data(), 1, static_cast<size_t>(bytes), file);
    const size_t tag = lame_get_lametag_frame(lame, encoded.data(), encoded.size());
    std::fseek(file, 0, SEEK_SET);
    std::fwrite(encoded.data(), 1, tag, file);
    std::fclose(file);
    lame_close(lame);
  }
};

mpg123_handle* openDirect(const QString& path) {
  mpg123_handle* handle = mpg123_new(nullptr, nullptr);
  mpg123_param(handle, MPG123_FLAGS, MPG123_GAPLESS | MPG123_QUIET | MPG123_FORCE_FLOAT, 0);
  mpg123_format_none(handle);
  mpg123_format(handle, kRate, MPG123_STEREO, MPG123_ENC_FLOAT_32);
  mpg123_open(handle, QFile::encodeName(path).constData());
  mpg123_scan(handle);
  return handle;
}

// Decodes `source` into `sink(values, frames)`, 4096 frames at a time.
template <typename Sink>
void decodeDirect(const QString& source, Sink sink) {
  mpg123_handle* handle = openDirect(source);
  std::vector<float> buffer(4096 * kChannels);
  size_t done = 0;
  while (true) {
    const int result = mpg123_read(handle, buffer.data(), buffer.size() * sizeof(float), &done);
    const int frames = static_cast<int>(done / sizeof(float) / kChannels);
    if (frames > 0) sink(buffer.data(), frames);
    if (result == MPG123_NEW_FORMAT) continue;
    if (result != MPG123_OK) break;
  }
  mpg123_close(handle);
  mpg123_delete(handle);
}

void floorSplit(const QString& source, const QString& outDir) {
  DirectOutput output;
  int piece = 0;
  int64_t inPiece = 0;
  const int64_t pieceFrames = int64_t{kPieceSeconds} * kRate;
  output.open(outDir + QStringLiteral("floor_%1.mp3").arg(++piece));
  decodeDirect(source, [&](const float* values, int frames) {
    while (frames > 0) {
      const int take = static_cast<int>(std::min<int64_t>(frames, pieceFrames - inPiece));
      output.write(values, take);
      values += static_cast<ptrdiff_t>(take) * kChannels;
      frames -= take;
      inPiece += take;
      if (inPiece == pieceFrames) {
        output.close();
        output.open(outDir + QStringLiteral("floor_%1.mp3").arg(++piece));
        inPiece = 0;
      }
    }
  });
  output.close();
}

void floorJoin(const QStringList& sources, const QString& target) {
  DirectOutput output;
  output.open(target);
  for (const QString& source : sources) {
    decodeDirect(source, [&](const float* values, int frames) { output.write(values, frames); });
  }
  output.close();
}

int64_t floorProbe(const QString& source) {
  mpg123_handle* handle = openDirect(source);
  const int64_t length = mpg123_length(handle);
  mpg123_close(handle);
  mpg123_delete(handle);
  return length;
}

// --- the jobs through the real main window ---

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
  QTemporaryDir folder;
  BenchPlatform platform;
  std::unique_ptr<tarvex::Tfm_main> main;

  explicit Window(const QString& outDir) {
    QDir().mkpath(folder.path() + "/program");
    tarvex::MainWindowEnvironment environment;
    environment.platform = &platform;
    environment.settingsFilePath = folder.path() + "/Quillmere.ini";
    environment.programFolder = folder.path() + "/program/";
    environment.defaultOutputDir = outDir;
    main = std::make_unique<tarvex::Tfm_main>(environment);
    main->show();
    waitUntilIdle(*main);  // the window is shown and its first events served
  }
};

// Prints "<seconds> <peak MB> <longest unpumped ms>" for the parent.
int runChild(const QString& mode, const QStringList& args) {
  const QString outDir = args.value(0);
  QDir().mkpath(outDir);
  QElapsedTimer clock;
  double unpumped = 0;
  if (mode == "floor-split") {
    clock.start();
    floorSplit(args.value(1), outDir);
  } else if (mode == "floor-join") {
    clock.start();
    floorJoin(args.mid(1), outDir + "floor_join.mp3");
  } else if (mode == "floor-probe") {
    clock.start();
    floorProbe(args.value(1));
  } else if (mode == "ffmpeg-split") {
    clock.start();
    QProcess ffmpeg;
    ffmpeg.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    ffmpeg.start("ffmpeg", {"-nostdin", "-loglevel", "error", "-y", "-i", args.value(1), "-f",
                            "segment", "-segment_time", "60", "-c:a", "libmp3lame", "-b:a", "128k",
                            "-compression_level", "5", outDir + "ffmpeg_%03d.mp3"});
    ffmpeg.waitForFinished(-1);
    const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    std::printf("%.3f %.1f 0\n", seconds, peakMegabytes(RUSAGE_CHILDREN));
    return 0;
  } else {
    Window window(outDir);
    tarvex::MainSettings& state = window.main->mainSettings();
    tarvex::bench::EventQueueLateness watch;
    if (mode == "probe") {
      watch.start();
      clock.start();
      window.main->sourceList().addFiles({args.value(1)});
      waitUntilIdle(*window.main);
    } else {
      window.main->sourceList().addFiles(args.mid(1));
      waitUntilIdle(*window.main);
      state.splitFunction = tarvex::SplitFunction::EveryNSeconds;
      state.pieceSeconds = kPieceSeconds;
      window.platform.saveAnswer = outDir + "joined";
      watch.start();
      clock.start();
      window.main->runCommand(mode == "split" ? tarvex::Command::SplitFromMenu
                                              : tarvex::Command::Join);
      waitUntilIdle(*window.main);
    }
    watch.stop();
    unpumped = watch.longestMilliseconds();
  }
  const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
  std::printf("%.3f %.1f %.1f\n", seconds, peakMegabytes(RUSAGE_SELF), unpumped);
  return 0;
}

struct Figures {
  double seconds = 0;
  double peakMb = 0;
  double unpumpedMs = 0;
};

Figures measure(const QString& mode, const QStringList& args) {
  QProcess child;
  child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  child.start(QCoreApplication::applicationFilePath(), QStringList{"--child", mode} + args);
  child.waitForFinished(-1);
  const QStringList parts =
      QString::fromLatin1(child.readAllStandardOutput()).simplified().split(' ');
  Figures figures;
  figures.seconds = parts.value(0).toDouble();
  figures.peakMb = parts.value(1).toDouble();
  figures.unpumpedMs = parts.value(2).toDouble();
  return figures;
}

bool generate(const QString& path, int seconds) {
  if (QFileInfo::exists(path)) return true;
  std::fprintf(stderr, "generating %s (%d s)\n", qPrintable(path), seconds);
  const int status = QProcess::execute(
      "ffmpeg", {"-nostdin", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                 QStringLiteral("anoisesrc=a=0.08:c=pink:r=44100:d=%1").arg(seconds), "-f", "lavfi",
                 "-i", QStringLiteral("sine=f=440:r=44100:d=%1").arg(seconds), "-filter_complex",
                 "[0][1]amerge=inputs=2", "-c:a", "libmp3lame", "-b:a", "128k", path});
  return status == 0;
}

double loadAverage() {
  double load[3] = {0, 0, 0};
  std::ifstream file("/proc/loadavg");
  file >> load[0] >> load[1] >> load[2];
  return load[0];
}

void printRow(const char* job, const Figures& ours, const Figures& floor, const Figures* peer) {
  std::printf("%-26s %8.2f s %8.2f s %6.3fx %8.1f MB %9.1f ms", job, ours.seconds, floor.seconds,
              floor.seconds > 0 ? ours.seconds / floor.seconds : 0.0, ours.peakMb, ours.unpumpedMs);
  if (peer != nullptr) {
    std::printf("   ffmpeg %7.2f s (%5.1f MB), ours/ffmpeg %.3fx", peer->seconds, peer->peakMb,
                peer->seconds > 0 ? ours.seconds / peer->seconds : 0.0);
  }
  std::printf("   load %.2f\n", loadAverage());
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("TARVEX_AUDIO_OUTPUT", "null");
  QApplication app(argc, argv);
  const QStringList args = app.arguments().mid(1);
  if (args.value(0) == "--child") return runChild(args.value(1), args.mid(2));

  QTemporaryDir scratch(QDir::tempPath() + "/tarvex-bench-XXXXXX");
  const QString work = args.isEmpty() ? scratch.path() : args.value(0);
  QDir().mkpath(work);
  const QString ten = work + "/ten.mp3";
  const QString tenCopy = work + "/ten-copy.mp3";
  const QString sixty = work + "/sixty.mp3";
  if (!generate(ten, 600) || !generate(sixty, 3600)) {
    std::fprintf(stderr, "ffmpeg could not generate the sources\n");
    return 1;
  }
  if (!QFileInfo::exists(tenCopy)) QFile::copy(ten, tenCopy);

  std::printf("%-26s %10s %10s %7s %11s %12s\n", "job", "ours", "floor", "ratio", "peak mem",
              "unpumped");
  const auto run = [&](const char* name, const QString& mode, const QString& floorMode,
                       const QStringList& sources, bool withPeer) {
    const QString dir = work + "/out-" + mode + "-" + QString::number(sources.size()) + "-" +
                        QFileInfo(sources.first()).baseName() + "/";
    QDir(dir).removeRecursively();
    const Figures ours = measure(mode, QStringList{dir + "ours/"} + sources);
    const Figures floor = measure(floorMode, QStringList{dir + "floor/"} + sources);
    Figures peer;
    if (withPeer) peer = measure("ffmpeg-split", {dir + "ffmpeg/", sources.first()});
    printRow(name, ours, floor, withPeer ? &peer : nullptr);
    QDir(dir).removeRecursively();
  };
  run("split 10 min / 60 s", "split", "floor-split", {ten}, true);
  run("split 60 min / 60 s", "split", "floor-split", {sixty}, true);
  run("join 10 min + 10 min", "join", "floor-join", {ten, tenCopy}, false);
  run("probe 60 min (Add File)", "probe", "floor-probe", {sixty}, false);
  return 0;
}
