#include "components/audio/mp3frames/EncoderHeaderFrame.h"

#include "components/audio/mp3frames/InfoFrame.h"

namespace tarvex::mp3frames {

namespace {

// The fields libmp3lame puts in its header frame: the Xing fields with the
// TOC, then the LAME extension.
constexpr int kLameHeaderFieldBytes = 156;
constexpr int kLargestFrame = 2880;

bool isMpeg1(lame_t lame) {
  return lame_get_out_samplerate(lame) >= 32000;
}

int rateIndex(int rate) {
  switch (rate) {
    case 44100:
    case 22050:
    case 11025:
      return 0;
    case 48000:
    case 24000:
    case 12000:
      return 1;
    default:
      return 2;
  }
}

}  // namespace

MpegFrameHeader encoderStreamHeader(lame_t lame) {
  MpegFrameHeader header;
  const int rate = lame_get_out_samplerate(lame);
  header.version = rate >= 32000   ? MpegFrameHeader::Version::Mpeg1
                   : rate >= 16000 ? MpegFrameHeader::Version::Mpeg2
                                   : MpegFrameHeader::Version::Mpeg25;
  header.sampleRateIndex = rateIndex(rate);
  switch (lame_get_mode(lame)) {
    case STEREO:
      header.channelMode = 0;
      break;
    case DUAL_CHANNEL:
      header.channelMode = 2;
      break;
    case MONO:
      header.channelMode = 3;
      break;
    default:
      header.channelMode = 1;
  }
  header.crcProtected = lame_get_error_protection(lame) != 0;
  header.copyright = lame_get_copyright(lame) != 0;
  header.original = lame_get_original(lame) != 0;
  header.emphasis = lame_get_emphasis(lame);
  header.bitrateIndex = 1;
  return header;
}

bool lameLeavesOutHeaderFrame(lame_t lame) {
  const MpegFrameHeader header = encoderStreamHeader(lame);
  const int rate = lame_get_out_samplerate(lame);
  int kbps = isMpeg1(lame) ? 128 : rate < 16000 ? 32 : 64;
  if (lame_get_VBR(lame) == vbr_off) kbps = lame_get_brate(lame);
  const int frameBytes = (isMpeg1(lame) ? 144 : 72) * 1000 * kbps / rate;
  const int needed = header.mainDataOffset() + kLameHeaderFieldBytes;
  return frameBytes < needed || frameBytes > kLargestFrame;
}

std::vector<unsigned char> encoderHeaderFrame(lame_t lame, const MpegFrameHeader& firstFrameHeader,
                                              uint64_t audioBytes, uint16_t musicCrc,
                                              int extraFrames) {
  InfoFrameContent content;
  content.audioBytes = audioBytes;
  content.musicCrc = musicCrc;
  content.vbr = lame_get_VBR(lame) != vbr_off;
  content.audioFrames = static_cast<uint32_t>(lame_get_frameNum(lame) + extraFrames);
  content.lame =
      plainLameTag(QByteArray("LAME") + get_lame_short_version(),
                   lame_get_encoder_delay(lame) + extraFrames * firstFrameHeader.samplesPerFrame(),
                   lame_get_encoder_padding(lame));
  return buildInfoFrame(firstFrameHeader, 0, content);
}

size_t encoderHeaderFrameBytes(lame_t lame) {
  return encoderHeaderFrame(lame, encoderStreamHeader(lame), 0, 0).size();
}

}  // namespace tarvex::mp3frames
