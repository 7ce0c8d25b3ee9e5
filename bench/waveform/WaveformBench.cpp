// waveform_bench [FILE.mp3] [WIDTH]
// Times the first (estimated) and the exact waveform of FILE. Without FILE a
// 60-minute 128 kbit/s MP3 is made first: one generated minute of tone and
// noise encoded through our writer, its frames repeated sixty times.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "components/audio/AudioFile2.h"
#include "sources/analysis/ExactPeaks.h"
#include "sources/analysis/Mp3GainScan.h"

using namespace tarvex;

namespace {

QString makeHourLongMp3(const QString& folder) {
  const QString minute = folder + QStringLiteral("/minute.mp3");
  AudioFile2 writer;
  writer.setActive(true);
  Mp3LameEncoder encoder;
  encoder.setSampleRate(44100);
  encoder.setChannels(2);
  // No Info/LAME header: repeated sixty times it would tell every reader the
  // file is one minute long.
  encoder.setVbrHeader(0);
  writer.SetMp3Encoder(encoder);
  writer.SetPcmFormat(44100, 2);
  writer.CreateWrite(minute);
  uint32_t seed = 1;
  for (int64_t frame = 0; frame < 60 * 44100; frame += 4410) {
    SampleBlock block;
    block.values.resize(4410 * 2);
    for (int i = 0; i < 4410; ++i) {
      const double t = static_cast<double>(frame + i) / 44100.0;
      const double envelope = 0.5 + 0.5 * std::sin(t * 0.7);
      seed = seed * 1664525u + 1013904223u;
      const double noise = (static_cast<double>(seed >> 8) / 16777216.0 - 0.5) * 0.1;
      const float value = static_cast<float>(envelope * 0.4 * std::sin(t * 2 * M_PI * 330) + noise);
      block.values[static_cast<size_t>(i) * 2] = value;
      block.values[static_cast<size_t>(i) * 2 + 1] = value * 0.8f;
    }
    writer.WriteBlock(block);
  }
  writer.Close();
  QFile in(minute);
  in.open(QIODevice::ReadOnly);
  const QByteArray bytes = in.readAll();
  const QString hour = folder + QStringLiteral("/hour.mp3");
  QFile out(hour);
  out.open(QIODevice::WriteOnly);
  for (int i = 0; i < 60; ++i) out.write(bytes);
  return hour;
}

// CPU time of all the program's threads since `start`: on a shared machine
// the wall time mostly measures the other programs.
double cpuSeconds(std::clock_t start) {
  return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  QTemporaryDir folder;
  const QString path = argc > 1 ? QString::fromLocal8Bit(argv[1]) : makeHourLongMp3(folder.path());
  const int width = argc > 2 ? std::atoi(argv[2]) : 547;
  std::atomic<bool> stop{false};
  {
    // Opening measures the exact length: a frame scan when there is no Info
    // header. A waveform run cannot stop inside it.
    QElapsedTimer timer;
    timer.start();
    AudioFile2 reader;
    reader.OpenRead(path);
    std::printf("%s: %.1f minutes, opened in %.3f s\n", qPrintable(path),
                static_cast<double>(reader.Duration()) / 60000.0, timer.nsecsElapsed() / 1e9);
  }

  for (int round = 0; round < 3; ++round) {
    QElapsedTimer timer;
    timer.start();
    const std::clock_t cpu = std::clock();
    const WaveformPeaks quick = scanMp3Gains(path, width, stop);
    std::printf("estimate (no decoding): %6.3f s wall, %6.3f s CPU, %d columns\n",
                timer.nsecsElapsed() / 1e9, cpuSeconds(cpu), quick.width());
  }
  for (int threads : {1, std::max(2, QThread::idealThreadCount())}) {
    QElapsedTimer timer;
    timer.start();
    const std::clock_t cpu = std::clock();
    qint64 firstReport = -1;
    const WaveformPeaks exact =
        exactPeaks(path, width, threads, stop, {}, [&](const WaveformPeaks&) {
          if (firstReport < 0) firstReport = timer.elapsed();
        });
    std::printf(
        "exact, %d decoder thread(s): %6.3f s wall, %6.3f s CPU (first progress at %lld ms), %d "
        "columns\n",
        threads, timer.nsecsElapsed() / 1e9, cpuSeconds(cpu), static_cast<long long>(firstReport),
        exact.width());
  }
  return 0;
}
