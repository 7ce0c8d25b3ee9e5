#include "components/audio/mp3frames/EdgeEncoder.h"

#include "components/audio/AudioError.h"
#include "components/audio/ErrorText.h"
#include "components/audio/LameSetupLock.h"
#include "components/audio/mp3frames/Mp3SideInfo.h"

#include <lame/lame.h>

#include <memory>

namespace tarvex::mp3frames {

namespace {

struct LameDeleter {
  void operator()(lame_global_flags* lame) const { lame_close(lame); }
};
using LameHandle = std::unique_ptr<lame_global_flags, LameDeleter>;

MPEG_mode lameMode(int channelMode) {
  switch (channelMode) {
    case 1:
      return JOINT_STEREO;
    case 3:
      return MONO;
    default:
      return STEREO;
  }
}

LameHandle openEncoder(const MpegFrameHeader& like, int kbps, const QString& fileName) {
  const std::lock_guard setup(lameSetupMutex());
  LameHandle lame(lame_init());
  if (!lame) throw AudioError(writeError(fileName, QStringLiteral("out of memory")));
  lame_set_in_samplerate(lame.get(), like.sampleRate());
  lame_set_out_samplerate(lame.get(), like.sampleRate());
  lame_set_num_channels(lame.get(), like.channels());
  lame_set_mode(lame.get(), lameMode(like.channelMode));
  lame_set_brate(lame.get(), kbps);
  lame_set_VBR(lame.get(), vbr_off);
  lame_set_quality(lame.get(), 2);
  lame_set_bWriteVbrTag(lame.get(), 0);
  lame_set_disable_reservoir(lame.get(), 1);
  lame_set_error_protection(lame.get(), 0);
  if (lame_init_params(lame.get()) < 0)
    throw AudioError(writeError(
        fileName, QStringLiteral("the MP3 encoder cannot re-encode the frames at a cut (%1 Hz, "
                                 "%2 kbit/s)")
                      .arg(like.sampleRate())
                      .arg(kbps)));
  return lame;
}

std::vector<LooseFrame> splitFrames(const std::vector<unsigned char>& bytes, size_t frameCount) {
  std::vector<LooseFrame> frames;
  size_t at = 0;
  while (frames.size() < frameCount && at + 4 <= bytes.size()) {
    const auto header = MpegFrameHeader::decode(readBigEndian32(bytes.data() + at));
    if (!header || header->frameBytes() <= 0 ||
        at + static_cast<size_t>(header->frameBytes()) > bytes.size())
      break;
    const unsigned char* side = bytes.data() + at + 4 + (header->crcProtected ? 2 : 0);
    const Mp3SideInfo info = Mp3SideInfo::parse(*header, side);
    const unsigned char* area = bytes.data() + at + header->mainDataOffset();
    const int areaBytes = header->frameBytes() - header->mainDataOffset();
    const int used = info.mainDataBytes(*header);
    if (info.mainDataBegin != 0 || used > areaBytes) break;  // not self-contained
    LooseFrame frame;
    frame.header = *header;
    frame.sideInfo.assign(side, side + header->sideInfoBytes());
    frame.mainData.assign(area, area + used);
    frames.push_back(std::move(frame));
    at += static_cast<size_t>(header->frameBytes());
  }
  return frames;
}

}  // namespace

std::vector<LooseFrame> encodeLooseFrames(const MpegFrameHeader& like, int kbps,
                                          const std::vector<float>& input, size_t frameCount,
                                          const QString& fileName) {
  LameHandle lame = openEncoder(like, kbps, fileName);
  const int channels = like.channels();
  const int samples = static_cast<int>(input.size() / static_cast<size_t>(channels));
  std::vector<unsigned char> encoded(static_cast<size_t>(samples) * 5 / 4 + 7200 + 16384);
  const int capacity = static_cast<int>(encoded.size());
  const int bytes = channels == 1
                        ? lame_encode_buffer_ieee_float(lame.get(), input.data(), nullptr, samples,
                                                        encoded.data(), capacity)
                        : lame_encode_buffer_interleaved_ieee_float(
                              lame.get(), input.data(), samples, encoded.data(), capacity);
  if (bytes < 0)
    throw AudioError(
        writeError(fileName, QStringLiteral("the MP3 encoder failed (%1)").arg(bytes)));
  encoded.resize(static_cast<size_t>(bytes));
  // The encoder gives every frame whose look-ahead the input covers; only a
  // short input needs the end padded (flushing costs two more frames).
  if (splitFrames(encoded, frameCount).size() < frameCount) {
    encoded.resize(static_cast<size_t>(capacity));
    const int flushed = lame_encode_flush(lame.get(), encoded.data() + bytes, capacity - bytes);
    if (flushed < 0)
      throw AudioError(
          writeError(fileName, QStringLiteral("the MP3 encoder failed (%1)").arg(flushed)));
    encoded.resize(static_cast<size_t>(bytes + flushed));
  }
  std::vector<LooseFrame> frames = splitFrames(encoded, frameCount);
  if (frames.size() < frameCount)
    throw AudioError(writeError(
        fileName, QStringLiteral("the MP3 encoder gave no usable frames for the audio at a cut")));
  return frames;
}

}  // namespace tarvex::mp3frames
