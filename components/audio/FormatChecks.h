#pragma once

namespace tarvex {

// True when MPEG audio layer III has `kbps` at `sampleRate` (MPEG-1 32-48 kHz:
// 32-320; MPEG-2 16-24 kHz: 8-160; MPEG-2.5 8-12 kHz: 8-64) and the channel
// mode is one of 1 (mono) to 5 (dual channel).
bool isMp3FormatEncodable(int sampleRate, int kbps, int channelMode);

}  // namespace tarvex
