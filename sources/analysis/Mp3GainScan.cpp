#include "sources/analysis/Mp3GainScan.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

#include "components/audio/mp3frames/InfoFrame.h"
#include "components/audio/mp3frames/Mp3SideInfo.h"
#include "components/audio/mp3frames/MpegFrameHeader.h"
#include "components/audio/mp3frames/MpegFrameWalker.h"

namespace tarvex {

namespace {

using mp3frames::MpegFrameHeader;

// The loudness of one granule and channel. The global gain sets the
// quantiser step, but the encoder also picks finer steps for quieter tonal
// sound, so the Huffman bits per coded pair (large values take more bits)
// are weighed in. The weights are fitted against decoded peaks of tones and
// noise from -50 to -1 dB encoded by LAME at 128 kbit/s: about 13 dB RMS
// error; a granule without coded values is silent.
float granuleLevel(unsigned part23Length, unsigned bigValues, unsigned globalGain) {
  if (bigValues == 0 && part23Length < 8) return 0.0f;
  const double bitsPerPair = static_cast<double>(part23Length) / std::max(1u, bigValues);
  const double decibels = 0.565 * globalGain + 10.42 * std::log2(bitsPerPair + 1.0) - 141.36;
  return static_cast<float>(std::min(1.0, std::pow(10.0, decibels / 20.0)));
}

// The largest granule level of a frame (all channels).
float frameLevel(const uint8_t* frame, const MpegFrameHeader& header) {
  const mp3frames::Mp3SideInfo side =
      mp3frames::Mp3SideInfo::parse(header, frame + 4 + (header.crcProtected ? 2 : 0));
  float level = 0.0f;
  for (int granule = 0; granule < header.granules(); ++granule) {
    for (int channel = 0; channel < header.channels(); ++channel) {
      level =
          std::max(level, granuleLevel(static_cast<unsigned>(side.part23Length[granule][channel]),
                                       static_cast<unsigned>(side.bigValues[granule][channel]),
                                       static_cast<unsigned>(side.globalGain[granule][channel])));
    }
  }
  return level;
}

struct FrameLevel {
  int64_t firstSample;
  float level;
};

}  // namespace

WaveformPeaks scanMp3Gains(const QString& path, int width, const std::atomic<bool>& stop) {
  WaveformPeaks peaks;
  if (width <= 0) return peaks;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly) || file.size() < 4) return peaks;
  const size_t size = static_cast<size_t>(file.size());
  const uint8_t* data = file.map(0, file.size());
  QByteArray copy;
  if (data == nullptr) {
    copy = file.readAll();
    data = reinterpret_cast<const uint8_t*>(copy.constData());
  }

  std::vector<FrameLevel> levels;
  levels.reserve(size / 200);
  mp3frames::MpegFrameWalker walker(data, size);
  int64_t samples = 0;
  int samplesPerFrame = 0;
  bool firstFrame = true;
  while (const auto frame = walker.next()) {
    if ((levels.size() & 4095) == 0 && stop.load(std::memory_order_relaxed)) return {};
    const MpegFrameHeader& header = frame->header;
    if (frame->bytes < header.mainDataOffset()) continue;
    if (firstFrame) {
      firstFrame = false;
      samplesPerFrame = header.samplesPerFrame();
      if (mp3frames::readInfoFrame(header, data + frame->offset, frame->bytes)) continue;
    }
    levels.push_back({samples, frameLevel(data + frame->offset, header)});
    samples += header.samplesPerFrame();
  }
  if (levels.size() < 2 || samples <= 0) return peaks;

  peaks.low.assign(static_cast<size_t>(width), 0.0f);
  peaks.high.assign(static_cast<size_t>(width), 0.0f);
  for (const FrameLevel& frame : levels) {
    // A frame may straddle columns: it counts in each it covers.
    const int first = peakColumn(frame.firstSample, samples, width);
    const int last = peakColumn(frame.firstSample + samplesPerFrame - 1, samples, width);
    for (int column = first; column <= last; ++column) {
      auto& high = peaks.high[static_cast<size_t>(column)];
      high = std::max(high, frame.level);
      peaks.low[static_cast<size_t>(column)] = -high;
    }
  }
  return peaks;
}

}  // namespace tarvex
