#pragma once

#include <cstddef>
#include <cstdint>

namespace tarvex::mp3frames {

// The CRC that protects a frame's side information: polynomial 0x8005,
// most significant bit first, starting from 0xFFFF, over the header's last
// two bytes and then the side information.
uint16_t frameCrc(const unsigned char* frame, int sideInfoBytes);

// The CRC of the LAME tag and of the music after it: polynomial 0x8005,
// least significant bit first (0xA001 reflected), starting from `crc`.
uint16_t lameCrc(const unsigned char* bytes, size_t size, uint16_t crc = 0);

}  // namespace tarvex::mp3frames
