#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

namespace tarvex::testing {

// One MPEG audio layer III frame header as it stands in a file.
struct Mp3FrameHeader {
  int sampleRate = 0;
  int bitrateKbps = 0;
  int mode = 0;  // 0 stereo, 1 joint stereo, 2 dual channel, 3 mono
  int modeExtension = 0;
  int emphasis = 0;
  bool crc = false;
  int mpegVersion = 0;  // 1, 2, or 25 for MPEG-2.5
};

struct Mp3Scan {
  std::vector<Mp3FrameHeader> frames;  // every frame, the header frame included
  bool hasXingHeader = false;          // "Xing" (VBR) or "Info" (CBR) in the first frame
  bool xingSaysVbr = false;            // "Xing" rather than "Info"
  bool hasLameTag = false;             // "LAME" in the first frame
  bool startsWithId3 = false;
  bool endsWithId3v1 = false;

  // The audio frames (the header frame left out).
  std::vector<Mp3FrameHeader> audioFrames() const;
  bool allBitratesEqual() const;
};

Mp3Scan scanMp3File(const QString& path);

}  // namespace tarvex::testing
