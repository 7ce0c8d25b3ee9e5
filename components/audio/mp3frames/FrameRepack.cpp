#include "components/audio/mp3frames/FrameRepack.h"

#include <algorithm>

namespace tarvex::mp3frames {

namespace {

constexpr int kLargestBitrateIndex = 14;

MpegFrameHeader plainHeader(const MpegFrameHeader& from, int bitrateIndex) {
  MpegFrameHeader header = from;
  header.crcProtected = false;
  header.padding = false;
  header.bitrateIndex = bitrateIndex;
  return header;
}

int areaBytes(const MpegFrameHeader& header) {
  return header.frameBytes() - header.mainDataOffset();
}

int largestBackPointer(const MpegFrameHeader& header) {
  return header.version == MpegFrameHeader::Version::Mpeg1 ? 511 : 255;
}

// Where each frame's main data starts in the run of areas, placing each as
// early as the back-pointer's reach allows; empty when a frame's data does
// not fit in its area or the reservoir not at the end.
std::vector<int> placeMainData(const std::vector<LooseFrame>& loose,
                               const std::vector<int>& bitrateIndexes, int reservoirBytes,
                               size_t* tooSmall) {
  std::vector<int> starts;
  int areaStart = 0;
  int dataEnd = 0;
  for (size_t i = 0; i < loose.size(); ++i) {
    const MpegFrameHeader header = plainHeader(loose[i].header, bitrateIndexes[i]);
    const int areaEnd = areaStart + areaBytes(header);
    const int start = std::max(dataEnd, areaStart - largestBackPointer(header));
    const int end = start + static_cast<int>(loose[i].mainData.size());
    const bool last = i + 1 == loose.size();
    if (start > areaStart || end + (last ? reservoirBytes : 0) > areaEnd) {
      *tooSmall = i;
      return {};
    }
    starts.push_back(start);
    dataEnd = end;
    areaStart = areaEnd;
  }
  return starts;
}

void writeBackPointer(std::vector<unsigned char>& frame, const MpegFrameHeader& header,
                      int mainDataBegin) {
  unsigned char* side = frame.data() + 4;
  if (header.version == MpegFrameHeader::Version::Mpeg1) {
    side[0] = static_cast<unsigned char>(mainDataBegin >> 1);
    side[1] = static_cast<unsigned char>((side[1] & 0x7F) | ((mainDataBegin & 1) << 7));
  } else {
    side[0] = static_cast<unsigned char>(mainDataBegin);
  }
}

}  // namespace

std::optional<PackedFrames> packFrames(const std::vector<LooseFrame>& loose,
                                       const std::vector<unsigned char>& reservoir) {
  if (loose.empty()) return std::nullopt;
  const int reservoirBytes = static_cast<int>(reservoir.size());
  std::vector<int> indexes;
  for (const LooseFrame& frame : loose) {
    const int needed = frame.header.mainDataOffset() - (frame.header.crcProtected ? 2 : 0) +
                       static_cast<int>(frame.mainData.size());
    const int index = frame.header.smallestBitrateIndexHolding(needed);
    if (index == 0) return std::nullopt;
    indexes.push_back(index);
  }
  std::vector<int> starts;
  for (;;) {
    size_t tooSmall = 0;
    starts = placeMainData(loose, indexes, reservoirBytes, &tooSmall);
    if (!starts.empty()) break;
    // A larger frame there, or else the latest earlier one that can grow.
    size_t grow = tooSmall + 1;
    while (grow > 0 && indexes[grow - 1] >= kLargestBitrateIndex) --grow;
    if (grow == 0) return std::nullopt;
    ++indexes[grow - 1];
  }

  PackedFrames packed;
  int areaStart = 0;
  for (size_t i = 0; i < loose.size(); ++i) {
    const MpegFrameHeader header = plainHeader(loose[i].header, indexes[i]);
    std::vector<unsigned char> frame(static_cast<size_t>(header.frameBytes()), 0);
    writeBigEndian32(frame.data(), header.encode());
    std::copy(loose[i].sideInfo.begin(), loose[i].sideInfo.end(), frame.begin() + 4);
    writeBackPointer(frame, header, areaStart - starts[i]);
    packed.frames.push_back(std::move(frame));
    packed.bitrateIndexes.push_back(indexes[i]);
    areaStart += areaBytes(header);
  }
  // The main data and the reservoir, copied into the run of areas.
  std::vector<unsigned char> areas(static_cast<size_t>(areaStart), 0);
  for (size_t i = 0; i < loose.size(); ++i)
    std::copy(loose[i].mainData.begin(), loose[i].mainData.end(), areas.begin() + starts[i]);
  std::copy(reservoir.begin(), reservoir.end(), areas.end() - reservoirBytes);
  size_t at = 0;
  for (std::vector<unsigned char>& frame : packed.frames) {
    const auto header = *MpegFrameHeader::decode(readBigEndian32(frame.data()));
    const int bytes = areaBytes(header);
    std::copy(areas.begin() + static_cast<long>(at), areas.begin() + static_cast<long>(at) + bytes,
              frame.begin() + header.mainDataOffset());
    at += static_cast<size_t>(bytes);
  }
  return packed;
}

}  // namespace tarvex::mp3frames
