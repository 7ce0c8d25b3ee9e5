#include "sources/analysis/Mp3GainScan.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace tarvex {

namespace {

struct FrameHeader {
  bool mpeg1 = true;
  int channels = 2;
  int sampleRate = 0;
  int length = 0;  // bytes, header included
  int samples = 0;
  bool crc = false;
};

constexpr int kBitratesMpeg1[16] = {0,   32,  40,  48,  56,  64,  80,  96,
                                    112, 128, 160, 192, 224, 256, 320, 0};
constexpr int kBitratesMpeg2[16] = {0,  8,  16, 24,  32,  40,  48,  56,
                                    64, 80, 96, 112, 128, 144, 160, 0};
constexpr int kRates[3] = {44100, 48000, 32000};

bool parseHeader(const uint8_t* p, FrameHeader& header) {
  if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) return false;
  const int version = (p[1] >> 3) & 3;  // 0: 2.5, 2: 2, 3: 1
  const int layer = (p[1] >> 1) & 3;    // 1: Layer III
  const int bitrateIndex = p[2] >> 4;
  const int rateIndex = (p[2] >> 2) & 3;
  if (version == 1 || layer != 1 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3)
    return false;
  header.mpeg1 = version == 3;
  header.crc = (p[1] & 1) == 0;
  header.channels = (p[3] >> 6) == 3 ? 1 : 2;
  header.sampleRate = kRates[rateIndex] >> (version == 3 ? 0 : (version == 2 ? 1 : 2));
  const int kbps = header.mpeg1 ? kBitratesMpeg1[bitrateIndex] : kBitratesMpeg2[bitrateIndex];
  const int padding = (p[2] >> 1) & 1;
  header.length = (header.mpeg1 ? 144000 : 72000) * kbps / header.sampleRate + padding;
  header.samples = header.mpeg1 ? 1152 : 576;
  return true;
}

class BitReader {
 public:
  explicit BitReader(const uint8_t* data) : data_(data) {}
  unsigned read(int bits) {
    unsigned value = 0;
    for (int i = 0; i < bits; ++i, ++position_)
      value = (value << 1) | ((data_[position_ >> 3] >> (7 - (position_ & 7))) & 1);
    return value;
  }
  void skip(int bits) { position_ += bits; }

 private:
  const uint8_t* data_;
  size_t position_ = 0;
};

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
float frameLevel(const uint8_t* frame, const FrameHeader& header) {
  BitReader bits(frame + 4 + (header.crc ? 2 : 0));
  const int granules = header.mpeg1 ? 2 : 1;
  if (header.mpeg1) {
    bits.skip(9 + (header.channels == 1 ? 5 : 3) + 4 * header.channels);
  } else {
    bits.skip(8 + (header.channels == 1 ? 1 : 2));
  }
  const int entryBits = header.mpeg1 ? 59 : 63;
  float level = 0.0f;
  for (int i = 0; i < granules * header.channels; ++i) {
    const unsigned part23 = bits.read(12);
    const unsigned bigValues = bits.read(9);
    const unsigned gain = bits.read(8);
    bits.skip(entryBits - 29);
    level = std::max(level, granuleLevel(part23, bigValues, gain));
  }
  return level;
}

size_t id3v2Size(const uint8_t* data, size_t size) {
  if (size < 10 || std::memcmp(data, "ID3", 3) != 0) return 0;
  const size_t body = (size_t{data[6] & 0x7Fu} << 21) | (size_t{data[7] & 0x7Fu} << 14) |
                      (size_t{data[8] & 0x7Fu} << 7) | size_t{data[9] & 0x7Fu};
  return 10 + body + ((data[5] & 0x10) ? 10 : 0);
}

bool isInfoFrame(const uint8_t* frame, const FrameHeader& header, size_t available) {
  const size_t sideInfo =
      header.mpeg1 ? (header.channels == 1 ? 17 : 32) : (header.channels == 1 ? 9 : 17);
  const size_t at = 4 + (header.crc ? 2 : 0) + sideInfo;
  if (at + 4 > available) return false;
  return std::memcmp(frame + at, "Xing", 4) == 0 || std::memcmp(frame + at, "Info", 4) == 0 ||
         (available >= 40 && std::memcmp(frame + 36, "VBRI", 4) == 0);
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
  size_t at = id3v2Size(data, size);
  int64_t samples = 0;
  int firstRate = 0;
  int samplesPerFrame = 0;
  size_t skipped = 0;
  FrameHeader header;
  while (at + 4 <= size) {
    if ((levels.size() & 4095) == 0 && stop.load(std::memory_order_relaxed)) return {};
    if (!parseHeader(data + at, header) || (firstRate != 0 && header.sampleRate != firstRate) ||
        at + static_cast<size_t>(header.length) > size) {
      // Lost sync: look for the next frame a little further on, up to a limit.
      if (++skipped > 65536) break;
      ++at;
      continue;
    }
    // The first frame must be followed by another, or be the whole file.
    if (firstRate == 0) {
      FrameHeader next;
      const size_t nextAt = at + static_cast<size_t>(header.length);
      if (nextAt + 4 <= size && !parseHeader(data + nextAt, next)) {
        ++at;
        continue;
      }
      firstRate = header.sampleRate;
      samplesPerFrame = header.samples;
      if (isInfoFrame(data + at, header, size - at)) {
        at += static_cast<size_t>(header.length);
        continue;
      }
    }
    skipped = 0;
    levels.push_back({samples, frameLevel(data + at, header)});
    samples += header.samples;
    at += static_cast<size_t>(header.length);
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
