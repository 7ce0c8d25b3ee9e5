#include "components/audio/mp3frames/Mp3SideInfo.h"

namespace tarvex::mp3frames {

namespace {

class BitReader {
 public:
  explicit BitReader(const unsigned char* bytes) : bytes_(bytes) {}
  int read(int bits) {
    int value = 0;
    for (int i = 0; i < bits; ++i, ++position_)
      value = (value << 1) | ((bytes_[position_ >> 3] >> (7 - (position_ & 7))) & 1);
    return value;
  }
  void skip(int bits) { position_ += bits; }

 private:
  const unsigned char* bytes_;
  int position_ = 0;
};

}  // namespace

int Mp3SideInfo::mainDataBytes(const MpegFrameHeader& header) const {
  int bits = 0;
  for (int granule = 0; granule < header.granules(); ++granule)
    for (int channel = 0; channel < header.channels(); ++channel)
      bits += part23Length[granule][channel];
  return (bits + 7) / 8;
}

bool Mp3SideInfo::opensLong(const MpegFrameHeader& header, int granule) const {
  for (int channel = 0; channel < header.channels(); ++channel)
    if (blockType[granule][channel] == 2 || blockType[granule][channel] == 3) return false;
  return true;
}

bool Mp3SideInfo::closesLong(const MpegFrameHeader& header, int granule) const {
  for (int channel = 0; channel < header.channels(); ++channel)
    if (blockType[granule][channel] == 1 || blockType[granule][channel] == 2) return false;
  return true;
}

bool windowsMeet(const MpegFrameHeader& header, const Mp3SideInfo& before,
                 const Mp3SideInfo& after) {
  return before.closesLong(header, header.granules() - 1) == after.opensLong(header, 0);
}

Mp3SideInfo Mp3SideInfo::parse(const MpegFrameHeader& header, const unsigned char* sideInfo) {
  Mp3SideInfo info;
  BitReader reader(sideInfo);
  const bool mpeg1 = header.version == MpegFrameHeader::Version::Mpeg1;
  const int channels = header.channels();
  if (mpeg1) {
    info.mainDataBegin = reader.read(9);
    reader.skip(channels == 1 ? 5 : 3);  // private bits
    reader.skip(4 * channels);           // scale factor selection
  } else {
    info.mainDataBegin = reader.read(8);
    reader.skip(channels == 1 ? 1 : 2);
  }
  for (int granule = 0; granule < header.granules(); ++granule) {
    for (int channel = 0; channel < channels; ++channel) {
      info.part23Length[granule][channel] = reader.read(12);
      info.bigValues[granule][channel] = reader.read(9);
      info.globalGain[granule][channel] = reader.read(8);
      reader.skip(mpeg1 ? 4 : 9);  // scale factor compression
      const bool windowSwitching = reader.read(1) != 0;
      if (windowSwitching) {
        info.blockType[granule][channel] = reader.read(2);
        reader.skip(1 + 10 + 9);  // mixed block, tables, sub-block gains
      } else {
        reader.skip(15 + 4 + 3);
      }
      reader.skip(mpeg1 ? 3 : 2);  // (pre-emphasis,) scale factor scale, count1 table
    }
  }
  return info;
}

}  // namespace tarvex::mp3frames
