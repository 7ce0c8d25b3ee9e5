#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace tarvex::testing {

// A file decoded by a program users have: interleaved 32-bit float samples
// and whatever the program said about trouble.
struct OutsideDecode {
  bool ran = false;
  std::vector<float> samples;
  int channels = 0;
  QStringList warnings;
  int64_t frames() const {
    return channels == 0 ? 0 : static_cast<int64_t>(samples.size()) / channels;
  }
};

// `ffmpeg -v warning` (gapless: it trims the LAME tag's delay and padding).
OutsideDecode decodeWithFfmpeg(const QString& path, int channels);
// `mpg123 -v` with gapless decoding, its default, or with `--no-gapless`
// (every frame's samples, as players that ignore the LAME header give them).
OutsideDecode decodeWithMpg123(const QString& path, int channels, bool gapless = true);

// The largest difference between `piece` and `whole` from frame `offset`
// on, and the piece frame where it is (-1 when equal).
struct SampleDifference {
  float largest = 0.0f;
  int64_t atFrame = -1;
};
SampleDifference compareRange(const OutsideDecode& piece, const OutsideDecode& whole,
                              int64_t offset);

// The largest difference between `piece` frames [from, to) and `whole`
// frames from `offset` + from on (infinite where `whole` has ended).
float largestDifference(const OutsideDecode& piece, const OutsideDecode& whole, int64_t offset,
                        int64_t from, int64_t to);

// Root-mean-square level in dB (full scale 1.0) of frames [from, to).
double levelDb(const OutsideDecode& decode, int64_t from, int64_t to);

// The same of the difference between `piece` frames [from, to) and `whole`
// frames from `offset` + from on.
double differenceLevelDb(const OutsideDecode& piece, const OutsideDecode& whole, int64_t offset,
                         int64_t from, int64_t to);

}  // namespace tarvex::testing
