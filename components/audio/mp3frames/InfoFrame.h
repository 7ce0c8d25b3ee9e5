#pragma once

#include "components/audio/mp3frames/MpegFrameHeader.h"

#include <QByteArray>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace tarvex::mp3frames {

// The fields of the LAME extension that a copy of LAME's frames carries over
// unchanged: tag revision and VBR method, low-pass, replay gain, encoding
// flags, ATH type, bitrate, misc, MP3 gain, preset and surround.
struct LameTagDetails {
  QByteArray encoder;                      // nine bytes such as "LAME3.100"
  std::array<unsigned char, 12> before{};  // the bytes between the encoder and the delay
  std::array<unsigned char, 4> after{};    // the bytes between the padding and the length
  int encoderDelay = 0;                    // samples, 12 bits
  int padding = 0;                         // samples, 12 bits
};

// The Xing ("Xing" for VBR, "Info" for CBR) header frame at a stream's start
// with its optional LAME extension, as read from a file.
struct InfoFrame {
  bool vbr = false;
  std::optional<uint32_t> frames;  // audio frames after the header frame
  std::optional<uint32_t> bytes;   // the stream's bytes, the header frame included
  int quality = 0;
  std::optional<LameTagDetails> lame;
};

// Reads the header frame's fields, or null when `frame` (one whole frame,
// `header` its decoded header) is an ordinary audio frame.
std::optional<InfoFrame> readInfoFrame(const MpegFrameHeader& header, const unsigned char* frame,
                                       int frameBytes);

// Whether a header frame's frame and byte counts can describe one stream at
// `header`'s version and rate: the bytes per frame they give lie between the
// smallest and the largest frame that rate allows. A count damaged on disk
// fails this, and the stream's frames are walked instead of believed.
bool plausibleStreamCounts(const MpegFrameHeader& header, uint64_t frames, uint64_t bytes);

// What a fresh header frame says about the stream after it.
struct InfoFrameContent {
  bool vbr = false;
  uint32_t audioFrames = 0;
  uint64_t audioBytes = 0;             // the frames after the header frame
  std::vector<uint64_t> frameOffsets;  // each audio frame's start in the audio bytes
  int quality = 0;
  LameTagDetails lame;    // encoder delay and padding at most 4095
  uint16_t musicCrc = 0;  // lameCrc over the audio bytes
};

// The bytes of a header frame for a stream whose frames look like
// `streamHeader` (version, rate, channel mode). Its bitrate is
// `preferredBitrateIndex` when a frame of that size holds the Xing and LAME
// fields, else the smallest one that does; no CRC, as decoders look for the
// fields at the unprotected position.
std::vector<unsigned char> buildInfoFrame(const MpegFrameHeader& streamHeader,
                                          int preferredBitrateIndex,
                                          const InfoFrameContent& content);

// Fills the LAME fields the writer of a fresh stream has nothing better for.
LameTagDetails plainLameTag(const QByteArray& encoder, int encoderDelay, int padding);

}  // namespace tarvex::mp3frames
