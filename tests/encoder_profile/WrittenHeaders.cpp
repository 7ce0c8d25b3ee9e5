#include "tests/encoder_profile/WrittenHeaders.h"

#include <QByteArray>
#include <QFile>
#include <cstdint>

namespace tarvex::testing {

namespace {

QByteArray wholeFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

uint8_t byteAt(const QByteArray& bytes, qsizetype at) {
  return static_cast<uint8_t>(bytes[at]);
}

uint32_t littleEndian(const QByteArray& bytes, qsizetype at, int width) {
  uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i) value = (value << 8) | byteAt(bytes, at + i);
  return value;
}

constexpr int kMpeg1Bitrates[] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
constexpr int kMpeg2Bitrates[] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
constexpr int kMpeg1Rates[] = {44100, 48000, 32000};
constexpr int kMpeg2Rates[] = {22050, 24000, 16000};
constexpr int kMpeg25Rates[] = {11025, 12000, 8000};

}  // namespace

std::vector<Mp3Frame> readMp3Frames(const QString& path) {
  const QByteArray bytes = wholeFile(path);
  qsizetype at = 0;
  if (bytes.startsWith("ID3") && bytes.size() >= 10) {
    const qsizetype tagSize = (byteAt(bytes, 6) << 21) | (byteAt(bytes, 7) << 14) |
                              (byteAt(bytes, 8) << 7) | byteAt(bytes, 9);
    at = 10 + tagSize;
  }
  std::vector<Mp3Frame> frames;
  while (at + 4 <= bytes.size()) {
    const uint8_t b1 = byteAt(bytes, at + 1);
    const uint8_t b2 = byteAt(bytes, at + 2);
    const uint8_t b3 = byteAt(bytes, at + 3);
    const int version = (b1 >> 3) & 3;  // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
    const int bitrateIndex = b2 >> 4;
    const int rateIndex = (b2 >> 2) & 3;
    const bool header = byteAt(bytes, at) == 0xFF && (b1 & 0xE0) == 0xE0 && version != 1 &&
                        ((b1 >> 1) & 3) == 1 && bitrateIndex != 0 && bitrateIndex != 15 &&
                        rateIndex != 3;
    if (!header) {
      ++at;  // resynchronise
      continue;
    }
    Mp3Frame frame;
    frame.bitrateKbps = version == 3 ? kMpeg1Bitrates[bitrateIndex] : kMpeg2Bitrates[bitrateIndex];
    frame.sampleRateHz = version == 3   ? kMpeg1Rates[rateIndex]
                         : version == 2 ? kMpeg2Rates[rateIndex]
                                        : kMpeg25Rates[rateIndex];
    frame.crc = (b1 & 1) == 0;
    frame.mode = b3 >> 6;
    frame.emphasis = b3 & 3;
    const int padding = (b2 >> 1) & 1;
    const int length =
        (version == 3 ? 144 : 72) * frame.bitrateKbps * 1000 / frame.sampleRateHz + padding;
    const QByteArray start = bytes.mid(at + 4, 40);
    if (!start.contains("Xing") && !start.contains("Info")) frames.push_back(frame);
    at += length;
  }
  return frames;
}

WavFormat readWavFormat(const QString& path) {
  const QByteArray bytes = wholeFile(path);
  WavFormat format;
  if (!bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE") return format;
  qsizetype at = 12;
  while (at + 8 <= bytes.size()) {
    const QByteArray id = bytes.mid(at, 4);
    const uint32_t size = littleEndian(bytes, at + 4, 4);
    if (id == "fmt " && at + 24 <= bytes.size()) {
      format.channels = static_cast<int>(littleEndian(bytes, at + 10, 2));
      format.sampleRateHz = static_cast<int>(littleEndian(bytes, at + 12, 4));
      format.bitsPerSample = static_cast<int>(littleEndian(bytes, at + 22, 2));
      return format;
    }
    at += 8 + size + (size & 1);
  }
  return format;
}

VorbisIdentification readVorbisIdentification(const QString& path) {
  const QByteArray bytes = wholeFile(path);
  VorbisIdentification header;
  const qsizetype packet = bytes.indexOf("\x01vorbis");
  if (!bytes.startsWith("OggS") || packet < 0 || packet + 28 > bytes.size()) return header;
  header.channels = byteAt(bytes, packet + 11);
  header.sampleRateHz = static_cast<int>(littleEndian(bytes, packet + 12, 4));
  header.maximumBitrate = static_cast<int32_t>(littleEndian(bytes, packet + 16, 4));
  header.nominalBitrate = static_cast<int32_t>(littleEndian(bytes, packet + 20, 4));
  header.minimumBitrate = static_cast<int32_t>(littleEndian(bytes, packet + 24, 4));
  return header;
}

}  // namespace tarvex::testing
