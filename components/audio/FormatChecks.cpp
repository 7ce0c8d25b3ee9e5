#include "components/audio/FormatChecks.h"

#include <algorithm>
#include <iterator>

namespace tarvex {

bool isMp3FormatEncodable(int sampleRate, int kbps, int channelMode) {
  static constexpr int kMpeg1[] = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
  static constexpr int kMpeg2[] = {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
  static constexpr int kMpeg25[] = {8, 16, 24, 32, 40, 48, 56, 64};
  if (channelMode < 1 || channelMode > 5) return false;
  auto has = [kbps](const auto& table) {
    return std::find(std::begin(table), std::end(table), kbps) != std::end(table);
  };
  switch (sampleRate) {
    case 32000:
    case 44100:
    case 48000:
      return has(kMpeg1);
    case 16000:
    case 22050:
    case 24000:
      return has(kMpeg2);
    case 8000:
    case 11025:
    case 12000:
      return has(kMpeg25);
    default:
      return false;
  }
}

}  // namespace tarvex
