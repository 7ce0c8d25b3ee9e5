#pragma once

#include <QString>
#include <atomic>

#include "sources/analysis/WaveformPeaks.h"

namespace tarvex {

// A quick waveform of an MPEG Layer III file read without decoding: each
// granule's loudness is estimated from its global gain and Huffman data size
// in the side information (a granule with no coded values is silent). The
// estimate is rough (about 13 dB RMS from the decoded peaks across tones and
// noise; silence is exact); it is a first picture, replaced by the exact one.
//
// Returns an empty picture for a file that is not Layer III (WAV, Ogg, ...) or
// free-format, or when `stop` becomes true. Only reads the file.
//
// Frames are walked with the lossless frame-copy engine's header, side
// information and Info-frame readers.
WaveformPeaks scanMp3Gains(const QString& path, int width, const std::atomic<bool>& stop);

}  // namespace tarvex
