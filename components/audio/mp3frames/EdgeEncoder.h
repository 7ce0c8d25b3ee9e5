#pragma once

#include "components/audio/mp3frames/Mp3SideInfo.h"
#include "components/audio/mp3frames/MpegFrameHeader.h"

#include <QString>

#include <memory>
#include <vector>

namespace tarvex::mp3frames {

// The windows the encoder may choose: any, as the audio calls for, or long
// (short) ones only, so the frames meet copied frames on either side.
enum class EdgeWindows { Free, Long, Short };

// One layer III frame taken apart: its header, its side information (as
// many bytes as the header calls for) and its main data.
struct LooseFrame {
  MpegFrameHeader header;
  std::vector<unsigned char> sideInfo;
  std::vector<unsigned char> mainData;

  Mp3SideInfo parsedSideInfo() const { return Mp3SideInfo::parse(header, sideInfo.data()); }
};

// How much of the band encoded frames keep: below `hz` where that is known
// (the lowpass the source's encoder noted), else no more than an encode at
// `kbps` (the source's mean bitrate) keeps; the whole band the encoding
// bitrate allows when both are 0.
struct EdgeBand {
  int hz = 0;
  int kbps = 0;
};

// Encodes short stretches of audio (the frames at a cut) with libmp3lame at
// a given frame format and constant bitrate, without the bit reservoir (each
// frame's main data stands in the frame itself) and without a header frame.
//
// Setting an encoder up costs far more than encoding a few frames, so one
// object keeps an encoder open per format and bitrate across calls and
// treats what it is fed as one stream: each call's input goes on a frame
// boundary behind enough silence that nothing fed before reaches the frames
// it gives back, which therefore decode as from an encoder set up afresh.
// Not for use by several threads at once; each worker owns its own.
class EdgeEncoder {
 public:
  EdgeEncoder();
  ~EdgeEncoder();
  EdgeEncoder(const EdgeEncoder&) = delete;
  EdgeEncoder& operator=(const EdgeEncoder&) = delete;

  // Encodes `input` (interleaved floats, `like`'s channels) at `like`'s rate
  // and channel mode, constant `kbps`, and returns the first `frameCount`
  // frames (an input a frame longer than they cover spares the encoder
  // padding its end with silence). Raw decoder output position r of these
  // frames holds input sample r - kEdgeCodecDelay. Throws AudioError naming
  // `fileName` when the encoder fails or gives fewer frames.
  // The first `warmUpFrames` of them only bring the encoder to the audio and
  // are dropped by the caller: what was fed before may reach into them, so
  // less silence goes in front. The frames keep no more of the band than
  // `band` says.
  std::vector<LooseFrame> encode(const MpegFrameHeader& like, int kbps,
                                 const std::vector<float>& input, size_t frameCount,
                                 const QString& fileName, int warmUpFrames = 0,
                                 EdgeWindows windows = EdgeWindows::Free, EdgeBand band = {});

 private:
  struct Stream;
  struct Lowpass {
    int sampleRate = 0;
    int channels = 0;
    int mode = 0;
    int kbps = 0;
    int hz = 0;
  };
  Stream& streamFor(const MpegFrameHeader& like, int kbps, EdgeWindows windows, EdgeBand band,
                    const QString& fileName);
  // The top of the band the encoder keeps at `kbps` in `like`'s format.
  int lowpassFor(const MpegFrameHeader& like, int kbps, const QString& fileName);
  static std::vector<LooseFrame> encodeOn(Stream& stream, const std::vector<float>& input,
                                          size_t frameCount, const QString& fileName,
                                          int warmUpFrames);

  std::vector<std::unique_ptr<Stream>> streams_;
  std::vector<Lowpass> lowpasses_;
};

// The same with an encoder of its own, set up for this one call.
std::vector<LooseFrame> encodeLooseFrames(const MpegFrameHeader& like, int kbps,
                                          const std::vector<float>& input, size_t frameCount,
                                          const QString& fileName,
                                          EdgeWindows windows = EdgeWindows::Free,
                                          EdgeBand band = {});

// libmp3lame's encoder delay plus a decoder's own delay.
constexpr int kEdgeCodecDelay = 576 + 529;

}  // namespace tarvex::mp3frames
