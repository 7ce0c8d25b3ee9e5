#include "components/audio/WmaProfiles.h"

#include "components/audio/AudioError.h"

#include <algorithm>

namespace tarvex {

namespace {

// The encoder takes at least 24 kbit/s, so the list's rows below that are
// encoded at 24 kbit/s. Rows that name a VBR quality or lossless are encoded
// at a constant bitrate of about the size such a file would have:
//   VBR Quality 98: 256 kbit/s   VBR Quality 90: 192 kbit/s
//   VBR Quality 75: 128 kbit/s   VBR Quality 50:  96 kbit/s
//   VBR Quality 25:  64 kbit/s   VBR Quality 10:  48 kbit/s
//   Lossless:       384 kbit/s (the highest this program asks of the encoder)
constexpr int kMinimumKbps = 24;

struct Row {
  int sampleRate;
  int channels;
  int listedKbps;  // the bitrate the list names, or the stand-in above
};

constexpr Row kRows[kWmaProfileCount] = {
    {48000, 2, 192},  // 1  WMA9 48KHz, 192Kbps, Stereo, CBR
    {48000, 2, 160},  // 2
    {48000, 2, 128},  // 3
    {48000, 2, 96},   // 4
    {48000, 2, 64},   // 5
    {44100, 2, 320},  // 6  WMA9 44KHz, 320Kbps, Stereo, CBR
    {44100, 2, 256},  // 7
    {44100, 2, 192},  // 8
    {44100, 2, 160},  // 9
    {44100, 2, 128},  // 10 (the default row)
    {44100, 2, 96},   // 11
    {44100, 2, 80},   // 12
    {44100, 2, 64},   // 13
    {44100, 2, 48},   // 14
    {44100, 2, 32},   // 15
    {44100, 1, 48},   // 16 WMA9 44KHz, 48Kbps, Mono, CBR
    {44100, 1, 32},   // 17
    {44100, 1, 20},   // 18 -> 24
    {32000, 2, 48},   // 19 WMA9 32KHz, 48Kbps, Stereo, CBR
    {32000, 2, 40},   // 20
    {32000, 2, 32},   // 21
    {32000, 1, 20},   // 22 WMA9 32KHz, 20Kbps, Mono -> 24
    {32000, 2, 32},   // 23 (same text as 21)
    {32000, 2, 22},   // 24 -> 24
    {22050, 2, 20},   // 25 WMA9 22KHz, 20Kbps, Stereo -> 24
    {22050, 1, 20},   // 26 -> 24
    {22050, 1, 16},   // 27 -> 24
    {16000, 2, 20},   // 28 WMA9 16KHz, 20Kbps, Stereo -> 24
    {16000, 2, 16},   // 29 -> 24
    {16000, 1, 16},   // 30 -> 24
    {16000, 1, 12},   // 31 -> 24
    {16000, 1, 10},   // 32 -> 24
    {11025, 1, 10},   // 33 WMA9 11KHz, 10Kbps, Mono -> 24
    {11025, 1, 8},    // 34 -> 24
    {8000, 2, 12},    // 35 WMA9 8KHz, 12Kbps, Stereo -> 24
    {8000, 1, 8},     // 36 -> 24
    {8000, 1, 6},     // 37 -> 24
    {8000, 1, 5},     // 38 -> 24
    {48000, 2, 256},  // 39 WMA9 48KHz, Stereo, VBR Quality 98
    {48000, 2, 192},  // 40 VBR Quality 90
    {44100, 2, 256},  // 41 WMA9 44KHz, Stereo, VBR Quality 98
    {44100, 2, 192},  // 42 VBR Quality 90
    {44100, 2, 128},  // 43 VBR Quality 75
    {44100, 2, 96},   // 44 VBR Quality 50
    {44100, 2, 64},   // 45 VBR Quality 25
    {44100, 2, 48},   // 46 VBR Quality 10
    {44100, 2, 384},  // 47 WMA9 44KHz, Stereo, Lossless
};

}  // namespace

WmaProfile wmaProfile(int profileNumber) {
  if (profileNumber < 1 || profileNumber > kWmaProfileCount)
    throw AudioError(QStringLiteral("There is no WMA format number %1 (1 to %2)")
                         .arg(profileNumber)
                         .arg(kWmaProfileCount));
  const Row& row = kRows[profileNumber - 1];
  return {row.sampleRate, row.channels, std::max(row.listedKbps, kMinimumKbps)};
}

}  // namespace tarvex
