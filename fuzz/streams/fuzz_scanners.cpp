// Any bytes through the silence scanner (as PCM, with settings from the
// first bytes) and the waveform estimate (as a file). Pauses lie inside the
// data in order; the estimate's columns are what was asked for, within
// full scale.
#include <QFile>
#include <QTemporaryDir>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "sources/analysis/Mp3GainScan.h"
#include "sources/analysis/SilenceDetection.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  tarvex::SilenceSettings settings;
  settings.thresholdDb = -static_cast<double>(data[0] % 97);
  settings.minimumSilenceSeconds = static_cast<double>(data[1] % 40) / 10.0;
  const int channels = 1 + data[2] % 2;
  const int sampleRate = 8000 * (1 + data[3] % 6);
  std::vector<float> values((size - 4) / sizeof(float));
  if (!values.empty()) std::memcpy(values.data(), data + 4, values.size() * sizeof(float));
  const auto frames = static_cast<int64_t>(values.size()) / channels;
  tarvex::SilenceScanner scanner(settings, sampleRate, channels);
  scanner.add(values.data(), frames / 2);
  scanner.add(values.data() + (frames / 2) * channels, frames - frames / 2);
  int64_t last = 0;
  for (const tarvex::SampleSpan& range : scanner.finish()) {
    if (range.first < last || range.end < range.first || range.end > frames) __builtin_trap();
    last = range.end;
  }

  static QTemporaryDir folder;
  const QString path = folder.path() + QStringLiteral("/scan.mp3");
  {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) __builtin_trap();
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
  }
  const std::atomic<bool> stop{false};
  const int width = 1 + data[0] % 300;
  const tarvex::WaveformPeaks peaks = tarvex::scanMp3Gains(path, width, stop);
  if (!peaks.high.empty() && peaks.high.size() != static_cast<size_t>(width)) __builtin_trap();
  for (float high : peaks.high)
    if (!(high >= 0.0f && high <= 1.0f)) __builtin_trap();
  return 0;
}
