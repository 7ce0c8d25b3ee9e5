#pragma once

namespace tarvex {

// One of the 47 WMA profiles of the settings dialog's WMA list, as encoded
// here (Windows Media Audio 2 in an ASF file).
struct WmaProfile {
  int sampleRate;
  int channels;
  int bitrateKbps;  // what the encoder is given
};

constexpr int kWmaProfileCount = 47;

// Profile 1..47; throws AudioError for any other number.
WmaProfile wmaProfile(int profileNumber);

}  // namespace tarvex
