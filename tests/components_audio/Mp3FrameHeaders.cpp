#include "Mp3FrameHeaders.h"

#include <QFile>

namespace tarvex::testing {

namespace {

constexpr int kMpeg1Bitrates[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
constexpr int kMpeg2Bitrates[16] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0};
constexpr int kRates[3][3] = {{44100, 48000, 32000}, {22050, 24000, 16000}, {11025, 12000, 8000}};

bool parseHeader(const unsigned char* p, Mp3FrameHeader& header, int& length) {
  if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) return false;
  const int versionBits = (p[1] >> 3) & 3;
  const int layerBits = (p[1] >> 1) & 3;
  if (versionBits == 1 || layerBits != 1) return false;  // reserved, or not layer III
  const int bitrateIndex = p[2] >> 4;
  const int rateIndex = (p[2] >> 2) & 3;
  if (bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3) return false;
  header.mpegVersion = versionBits == 3 ? 1 : versionBits == 2 ? 2 : 25;
  const int rateRow = versionBits == 3 ? 0 : versionBits == 2 ? 1 : 2;
  header.sampleRate = kRates[rateRow][rateIndex];
  header.bitrateKbps = versionBits == 3 ? kMpeg1Bitrates[bitrateIndex] : kMpeg2Bitrates[bitrateIndex];
  header.crc = (p[1] & 1) == 0;
  header.mode = p[3] >> 6;
  header.modeExtension = (p[3] >> 4) & 3;
  header.emphasis = p[3] & 3;
  const int padding = (p[2] >> 1) & 1;
  const int factor = versionBits == 3 ? 144 : 72;
  length = factor * header.bitrateKbps * 1000 / header.sampleRate + padding;
  return length > 4;
}

}  // namespace

std::vector<Mp3FrameHeader> Mp3Scan::audioFrames() const {
  if (!hasXingHeader || frames.empty()) return frames;
  return std::vector<Mp3FrameHeader>(frames.begin() + 1, frames.end());
}

bool Mp3Scan::allBitratesEqual() const {
  const auto audio = audioFrames();
  for (const auto& frame : audio)
    if (frame.bitrateKbps != audio.front().bitrateKbps) return false;
  return true;
}

Mp3Scan scanMp3File(const QString& path) {
  Mp3Scan scan;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return scan;
  const QByteArray bytes = file.readAll();
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
  const qsizetype size = bytes.size();
  qsizetype offset = 0;
  scan.startsWithId3 = bytes.startsWith("ID3");
  scan.endsWithId3v1 = size >= 128 && bytes.mid(size - 128, 3) == "TAG";
  if (scan.startsWithId3 && size >= 10) {
    offset = 10 + ((data[6] & 0x7F) << 21 | (data[7] & 0x7F) << 14 | (data[8] & 0x7F) << 7 |
                   (data[9] & 0x7F));
  }
  bool first = true;
  while (offset + 4 <= size) {
    Mp3FrameHeader header;
    int length = 0;
    if (!parseHeader(data + offset, header, length)) {
      ++offset;  // not a frame here: step on until the next sync
      continue;
    }
    if (first) {
      const QByteArray frame = bytes.mid(offset, length);
      scan.hasXingHeader = frame.contains("Xing") || frame.contains("Info");
      scan.xingSaysVbr = frame.contains("Xing");
      scan.hasLameTag = frame.contains("LAME");
      first = false;
    }
    scan.frames.push_back(header);
    offset += length;
  }
  return scan;
}

}  // namespace tarvex::testing
