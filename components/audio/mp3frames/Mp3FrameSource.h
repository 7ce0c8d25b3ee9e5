#pragma once

#include "components/audio/mp3frames/EdgeAudio.h"
#include "components/audio/mp3frames/InfoFrame.h"
#include "components/audio/mp3frames/Mp3SideInfo.h"
#include "components/audio/mp3frames/MpegFrameHeader.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace tarvex::mp3frames {

// Where one audio frame lies in the source file.
struct FrameEntry {
  uint64_t offset = 0;  // in the file
  uint16_t bytes = 0;   // the whole frame
  uint16_t mainDataBegin = 0;
  uint8_t mainDataOffset = 0;  // header, CRC and side information
  uint8_t bitrateIndex = 0;
  int areaBytes() const { return bytes - mainDataOffset; }
};

// An MP3 file opened for copying its frames: the file mapped into memory and
// every layer III audio frame indexed, the Xing/LAME header frame (if any)
// read and left out. Sample positions are counted as a gapless decoder
// counts them: after the encoder delay and the decoder's own delay of 529
// samples, up to the padding. Throws AudioError (naming the file) for a file
// that cannot be read, holds no layer III stream, or is free format: the
// caller re-encodes such a source instead. Nothing changes after
// construction, so threads writing pieces of one source may share it.
//
// `storedEdgeAudio` is the edge audio the file's tag carries, if any (see
// EdgeAudio.h): the stretches that still match the file's frames are kept.
class Mp3FrameSource {
 public:
  static constexpr int kDecoderDelay = 529;

  explicit Mp3FrameSource(const QString& fileName, const QByteArray& storedEdgeAudio = {});
  ~Mp3FrameSource();
  Mp3FrameSource(const Mp3FrameSource&) = delete;
  Mp3FrameSource& operator=(const Mp3FrameSource&) = delete;

  const QString& fileName() const { return fileName_; }
  const MpegFrameHeader& firstHeader() const { return firstHeader_; }
  int sampleRate() const { return firstHeader_.sampleRate(); }
  int channels() const { return firstHeader_.channels(); }
  int samplesPerFrame() const { return firstHeader_.samplesPerFrame(); }
  const std::vector<FrameEntry>& frames() const { return frames_; }
  const unsigned char* bytes() const { return data_; }
  const std::optional<InfoFrame>& infoFrame() const { return info_; }

  // The raw decoder output position of the first sample a gapless decoder
  // gives, and the position just past the last one.
  int64_t startPosition() const { return startPosition_; }
  int64_t endPosition() const { return endPosition_; }
  // The frames a gapless decoder gives for the whole file.
  int64_t totalSamples() const { return endPosition_ - startPosition_; }
  // The mean bitrate of the audio frames, in kbit/s.
  int averageKbps() const { return averageKbps_; }
  // The top of the band the source's encoder kept, as its LAME tag notes
  // it, in Hz; 0 when the file does not say.
  int lowpassHz() const;
  // The edge audio of a piece written with encoded edges, where the file
  // carries it and its frames are still those it was measured on.
  const EdgeAudio& edgeAudio() const { return edgeAudio_; }
  // Bytes skipped between frames (damage the scan stepped over).
  int64_t skippedBytes() const { return skippedBytes_; }

  // The `count` bytes of main-data area that end where frame `index`'s area
  // begins (the bit reservoir it may draw on); zeros before the stream's
  // start.
  std::vector<unsigned char> reservoirBefore(size_t index, int count) const;

  // Frame `index`'s main data (its granules' scale factors and Huffman
  // bits, as many bytes as its side information counts), wherever the bit
  // reservoir put it; cut short at the end of the frame's own area when a
  // damaged frame counts more.
  std::vector<unsigned char> mainData(size_t index) const;
  // The side information of frame `index`.
  Mp3SideInfo sideInfo(size_t index) const;

 private:
  [[noreturn]] void fail(const QString& reason) const;
  void scan();
  void keepMatchingEdgeAudio(const QByteArray& stored);

  QString fileName_;
  std::unique_ptr<QFile> file_;
  const unsigned char* data_ = nullptr;
  uint64_t size_ = 0;
  MpegFrameHeader firstHeader_;
  std::optional<InfoFrame> info_;
  std::vector<FrameEntry> frames_;
  int64_t startPosition_ = 0;
  int64_t endPosition_ = 0;
  int64_t skippedBytes_ = 0;
  int averageKbps_ = 0;
  EdgeAudio edgeAudio_;
};

}  // namespace tarvex::mp3frames
