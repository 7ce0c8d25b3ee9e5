#pragma once

#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>

#include "tags/ID3StructV2.h"

namespace tarvex::testing {

// Sources shared by the split and join tests, made once per test program.
class JobMedia {
 public:
  static const JobMedia& get();

  QString path(const QString& name) const { return dir_.path() + QLatin1Char('/') + name; }

  QString song125;  // 125 s, 22050 Hz mono, tagged "Morning Song"
  QString a12;      // 12 s, 22050 Hz mono
  QString b7;       // 7 s, 22050 Hz mono
  QString c30;      // 30 s, 22050 Hz mono
  QString tail5;    // 5.5 s, 22050 Hz mono
  QString stereo6;  // 6 s, 44100 Hz stereo
  QString mono4;    // 4 s, 22050 Hz mono

 private:
  JobMedia();
  QTemporaryDir dir_{QDir::tempPath() + QStringLiteral("/tarvex-jobmedia-XXXXXX")};
};

// The tags given to song125.
ID3StructV2 songTags();

// Decoded frames and format of a file, through our reader.
struct Decoded {
  int64_t frames = 0;
  int sampleRate = 0;
  int channels = 0;
};
Decoded decodeFrames(const QString& path);

// Frames of whole second `seconds` in a source of `samples` frames lasting
// `durationMs`, as the runners map them.
int64_t frameAt(int seconds, int64_t samples, int64_t durationMs);

// Frames a file must decode to when it holds `sourceFrames` frames of a
// 22050 Hz source (the pieces are written at the profile's rate).
int64_t framesAtRateOf(const Decoded& decoded, int64_t sourceFrames);

// Root mean square of channel 0 over `length` seconds from `start` seconds.
double rmsOf(const QString& path, double start, double length);

}  // namespace tarvex::testing
