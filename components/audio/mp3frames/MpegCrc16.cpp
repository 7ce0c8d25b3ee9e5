#include "components/audio/mp3frames/MpegCrc16.h"

#include <array>

namespace tarvex::mp3frames {

namespace {

uint16_t frameCrcByte(uint16_t crc, unsigned char byte) {
  for (int bit = 7; bit >= 0; --bit) {
    const bool top = ((crc >> 15) & 1) != ((byte >> bit) & 1);
    crc = static_cast<uint16_t>(crc << 1);
    if (top) crc ^= 0x8005;
  }
  return crc;
}

// Eight tables, so the music CRC takes eight bytes a step.
using LameTables = std::array<std::array<uint16_t, 256>, 8>;

LameTables makeLameTables() {
  LameTables tables{};
  for (unsigned value = 0; value < 256; ++value) {
    uint16_t crc = static_cast<uint16_t>(value);
    for (int bit = 0; bit < 8; ++bit)
      crc =
          (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001) : static_cast<uint16_t>(crc >> 1);
    tables[0][value] = crc;
  }
  for (unsigned value = 0; value < 256; ++value)
    for (int t = 1; t < 8; ++t)
      tables[t][value] = static_cast<uint16_t>((tables[t - 1][value] >> 8) ^
                                               tables[0][tables[t - 1][value] & 0xFF]);
  return tables;
}

const LameTables& lameTables() {
  static const LameTables tables = makeLameTables();
  return tables;
}

}  // namespace

uint16_t frameCrc(const unsigned char* frame, int sideInfoBytes) {
  uint16_t crc = 0xFFFF;
  crc = frameCrcByte(crc, frame[2]);
  crc = frameCrcByte(crc, frame[3]);
  for (int i = 0; i < sideInfoBytes; ++i) crc = frameCrcByte(crc, frame[6 + i]);
  return crc;
}

uint16_t lameCrc(const unsigned char* bytes, size_t size, uint16_t crc) {
  const LameTables& t = lameTables();
  while (size >= 8) {
    const unsigned low = (crc ^ bytes[0]) & 0xFF;
    const unsigned high = ((crc >> 8) ^ bytes[1]) & 0xFF;
    crc = static_cast<uint16_t>(t[7][low] ^ t[6][high] ^ t[5][bytes[2]] ^ t[4][bytes[3]] ^
                                t[3][bytes[4]] ^ t[2][bytes[5]] ^ t[1][bytes[6]] ^ t[0][bytes[7]]);
    bytes += 8;
    size -= 8;
  }
  while (size-- > 0) crc = static_cast<uint16_t>((crc >> 8) ^ t[0][(crc ^ *bytes++) & 0xFF]);
  return crc;
}

}  // namespace tarvex::mp3frames
