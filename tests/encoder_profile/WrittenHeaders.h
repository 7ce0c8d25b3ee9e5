#pragma once

#include <QString>
#include <vector>

namespace tarvex::testing {

// The header of one MPEG audio layer III frame as written into a file.
struct Mp3Frame {
  int bitrateKbps = 0;
  int sampleRateHz = 0;
  int mode = 0;  // 0 stereo, 1 joint stereo, 2 dual channel, 3 mono
  bool crc = false;
  int emphasis = 0;
};

// The audio frames of an MP3 file in order; the Xing/Info header frame and an
// ID3v2 tag are skipped. Empty when the file holds no frame.
std::vector<Mp3Frame> readMp3Frames(const QString& path);

// The "fmt " chunk of a RIFF WAVE file.
struct WavFormat {
  int channels = 0;
  int sampleRateHz = 0;
  int bitsPerSample = 0;
};
WavFormat readWavFormat(const QString& path);

// The identification header of an Ogg Vorbis file (bit/s; 0 or -1: unset).
struct VorbisIdentification {
  int channels = 0;
  int sampleRateHz = 0;
  int maximumBitrate = 0;
  int nominalBitrate = 0;
  int minimumBitrate = 0;
};
VorbisIdentification readVorbisIdentification(const QString& path);

}  // namespace tarvex::testing
