#include "components/audio/mp3frames/EdgeBitrates.h"

#include <algorithm>

namespace tarvex::mp3frames {

namespace {

// Source frames around an edge whose bitrate the encoded frames match.
constexpr int kBitrateNeighbours = 4;
constexpr int kLargestBitrateIndex = 14;

}  // namespace

std::vector<int> edgeBitrates(const Mp3FrameSource& source, int64_t around) {
  const auto& frames = source.frames();
  const auto count = static_cast<int64_t>(frames.size());
  MpegFrameHeader header = source.firstHeader();
  int largest = 0;
  for (int64_t i = std::max<int64_t>(0, around - kBitrateNeighbours);
       i < std::min(count, around + kBitrateNeighbours + 1); ++i) {
    header.bitrateIndex = frames[static_cast<size_t>(i)].bitrateIndex;
    largest = std::max(largest, header.bitrateKbps());
  }
  std::vector<int> bitrates;  // every one at least the largest, rising
  for (int index = 1; index <= kLargestBitrateIndex; ++index) {
    header.bitrateIndex = index;
    if (header.bitrateKbps() >= largest) bitrates.push_back(header.bitrateKbps());
  }
  std::reverse(bitrates.begin(), bitrates.end());
  return bitrates;
}

int tailBitrate(const Mp3FrameSource& source) {
  MpegFrameHeader header = source.firstHeader();
  header.bitrateIndex = kLargestBitrateIndex;
  return header.bitrateKbps();
}

EdgeBand edgeBand(const Mp3FrameSource& source) {
  return {source.lowpassHz(), source.averageKbps()};
}

EdgeBand widerBand(const EdgeBand& one, const EdgeBand& other) {
  // A lowpass known on one side only says nothing of the other's.
  if (one.hz > 0 && other.hz > 0) return {std::max(one.hz, other.hz), 0};
  return {0, std::max(one.kbps, other.kbps)};
}

}  // namespace tarvex::mp3frames
