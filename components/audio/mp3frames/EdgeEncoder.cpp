#include "components/audio/mp3frames/EdgeEncoder.h"

#include "components/audio/AudioError.h"
#include "components/audio/ErrorText.h"
#include "components/audio/LameSetupLock.h"
#include "components/audio/mp3frames/Mp3SideInfo.h"

#include <lame/lame.h>

#include <algorithm>
#include <cmath>

namespace tarvex::mp3frames {

namespace {

// Silence fed between two calls' audio. What a frame holds is shaped by the
// input up to about a thousand samples before the first one it decodes to
// (filterbank, transform overlap, the psychoacoustic model's look-back);
// 1728 leaves a margin, so no frame given back carries audio fed before.
constexpr int64_t kQuietGap = 1728;
// Frames of silence fed at most after a call's audio for its last frames to
// come out (the encoder's delay and look-ahead).
constexpr size_t kMostDrainFrames = 8;

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

// An encoder for `like`'s format at constant `kbps`, keeping the band below
// `lowpassHz` (0: the band the encoder itself keeps at that bitrate).
LameHandle openEncoder(const MpegFrameHeader& like, int kbps, EdgeWindows windows, int lowpassHz,
                       const QString& fileName) {
  const std::lock_guard setup(lameSetupMutex());
  LameHandle lame(lame_init());
  if (!lame) throw AudioError(writeError(fileName, QStringLiteral("out of memory")));
  lame_set_in_samplerate(lame.get(), like.sampleRate());
  lame_set_out_samplerate(lame.get(), like.sampleRate());
  lame_set_num_channels(lame.get(), like.channels());
  lame_set_mode(lame.get(), lameMode(like.channelMode));
  lame_set_brate(lame.get(), kbps);
  lame_set_VBR(lame.get(), vbr_off);
  // No noise shaping: at the bitrates the edges take the noise stays far
  // under the audio anyway, while noise shaped to hide under the sudden
  // sound at a cut comes back to be heard once two pieces are joined back
  // (and shaping costs most of the encoder's time).
  lame_set_quality(lame.get(), 7);
  lame_set_bWriteVbrTag(lame.get(), 0);
  lame_set_disable_reservoir(lame.get(), 1);
  lame_set_error_protection(lame.get(), 0);
  if (windows == EdgeWindows::Long) lame_set_no_short_blocks(lame.get(), 1);
  if (windows == EdgeWindows::Short) lame_set_force_short_blocks(lame.get(), 1);
  if (lowpassHz > 0) lame_set_lowpassfreq(lame.get(), lowpassHz);
  if (lame_init_params(lame.get()) < 0)
    throw AudioError(writeError(
        fileName, QStringLiteral("the MP3 encoder cannot re-encode the frames at a cut (%1 Hz, "
                                 "%2 kbit/s)")
                      .arg(like.sampleRate())
                      .arg(kbps)));
  return lame;
}

int64_t roundUp(int64_t value, int64_t step) {
  return (value + step - 1) / step * step;
}

}  // namespace

// One open encoder and where its stream stands, in samples per channel fed
// and frames given back.
struct EdgeEncoder::Stream {
  int sampleRate = 0;
  int channels = 0;
  int mode = 0;
  int kbps = 0;
  EdgeWindows windows = EdgeWindows::Free;
  int lowpassHz = 0;
  int perFrame = 0;
  // The encoder scales its input down at some bitrates (to 0.95, leaving
  // headroom against clipping); the edges must keep the level of the
  // copied frames beside them, so the input is raised by as much first.
  float inputGain = 1.0f;
  LameHandle lame;
  int64_t fed = 0;
  int64_t audioEnd = 0;    // where the last call's audio ended
  size_t framesOut = 0;    // frames given back by the encoder so far
  size_t wantedFirst = 0;  // the frames the current call keeps
  size_t wantedCount = 0;
  std::vector<unsigned char> pending;  // bytes of a frame not yet whole
  std::vector<LooseFrame> kept;

  void feed(const float* samples, int64_t count, const QString& fileName);
  void feedSilence(int64_t count, const QString& fileName);
  void takeFrames(const QString& fileName);
};

void EdgeEncoder::Stream::feed(const float* given, int64_t count, const QString& fileName) {
  if (count <= 0) return;
  // A damaged stream decodes to any values at all; the encoder asserts on
  // samples that are not finite, so it gets them as silence and the rest
  // within full scale.
  std::vector<float> bounded(given, given + count * channels);
  for (float& value : bounded)
    value = std::isfinite(value) ? std::clamp(value, -1.0f, 1.0f) * inputGain : 0.0f;
  const float* samples = bounded.data();
  const auto size = static_cast<size_t>(pending.size());
  pending.resize(size + static_cast<size_t>(count) * 5 / 4 + 7200);
  const int capacity = static_cast<int>(pending.size() - size);
  const int n = static_cast<int>(count);
  const int bytes = channels == 1 ? lame_encode_buffer_ieee_float(lame.get(), samples, nullptr, n,
                                                                  pending.data() + size, capacity)
                                  : lame_encode_buffer_interleaved_ieee_float(
                                        lame.get(), samples, n, pending.data() + size, capacity);
  if (bytes < 0) {
    pending.resize(size);
    throw AudioError(
        writeError(fileName, QStringLiteral("the MP3 encoder failed (%1)").arg(bytes)));
  }
  pending.resize(size + static_cast<size_t>(bytes));
  fed += count;
  takeFrames(fileName);
}

void EdgeEncoder::Stream::feedSilence(int64_t count, const QString& fileName) {
  const std::vector<float> silence(static_cast<size_t>(perFrame) * channels, 0.0f);
  while (count > 0) {
    const int64_t now = std::min<int64_t>(count, perFrame);
    feed(silence.data(), now, fileName);
    count -= now;
  }
}

void EdgeEncoder::Stream::takeFrames(const QString& fileName) {
  size_t at = 0;
  while (at + 4 <= pending.size()) {
    const auto header = MpegFrameHeader::decode(readBigEndian32(pending.data() + at));
    if (!header || header->frameBytes() <= 0)
      throw AudioError(writeError(
          fileName, QStringLiteral("the MP3 encoder gave a damaged frame for the audio at a cut")));
    if (at + static_cast<size_t>(header->frameBytes()) > pending.size()) break;
    const size_t index = framesOut++;
    if (index >= wantedFirst && index < wantedFirst + wantedCount) {
      const unsigned char* side = pending.data() + at + 4 + (header->crcProtected ? 2 : 0);
      const Mp3SideInfo info = Mp3SideInfo::parse(*header, side);
      const unsigned char* area = pending.data() + at + header->mainDataOffset();
      const int areaBytes = header->frameBytes() - header->mainDataOffset();
      const int used = info.mainDataBytes(*header);
      if (info.mainDataBegin != 0 || used > areaBytes)  // not self-contained
        throw AudioError(writeError(
            fileName,
            QStringLiteral("the MP3 encoder gave no usable frames for the audio at a cut")));
      LooseFrame frame;
      frame.header = *header;
      frame.sideInfo.assign(side, side + header->sideInfoBytes());
      frame.mainData.assign(area, area + used);
      kept.push_back(std::move(frame));
    }
    at += static_cast<size_t>(header->frameBytes());
  }
  pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(at));
}

EdgeEncoder::EdgeEncoder() = default;
EdgeEncoder::~EdgeEncoder() = default;

int EdgeEncoder::lowpassFor(const MpegFrameHeader& like, int kbps, const QString& fileName) {
  const int mode = lameMode(like.channelMode);
  for (const Lowpass& known : lowpasses_)
    if (known.sampleRate == like.sampleRate() && known.channels == like.channels() &&
        known.mode == mode && known.kbps == kbps)
      return known.hz;
  const LameHandle lame = openEncoder(like, kbps, EdgeWindows::Free, 0, fileName);
  lowpasses_.push_back({like.sampleRate(), like.channels(), mode, kbps,
                        static_cast<int>(lame_get_lowpassfreq(lame.get()))});
  return lowpasses_.back().hz;
}

EdgeEncoder::Stream& EdgeEncoder::streamFor(const MpegFrameHeader& like, int kbps,
                                            EdgeWindows windows, EdgeBand band,
                                            const QString& fileName) {
  // The band of the source where that is narrower: what the encoder would
  // keep above it at the edge's bitrate is mostly the spread of the cut's
  // own sudden sound, which the source never held.
  int lowpassHz = 0;
  if (band.hz > 0)
    lowpassHz = std::min(lowpassFor(like, kbps, fileName), band.hz);
  else if (band.kbps > 0)
    lowpassHz = std::min(lowpassFor(like, kbps, fileName), lowpassFor(like, band.kbps, fileName));
  const int mode = lameMode(like.channelMode);
  for (const auto& stream : streams_)
    if (stream->sampleRate == like.sampleRate() && stream->channels == like.channels() &&
        stream->mode == mode && stream->kbps == kbps && stream->windows == windows &&
        stream->lowpassHz == lowpassHz)
      return *stream;
  auto stream = std::make_unique<Stream>();
  stream->lame = openEncoder(like, kbps, windows, lowpassHz, fileName);
  stream->sampleRate = like.sampleRate();
  stream->channels = like.channels();
  stream->mode = mode;
  stream->kbps = kbps;
  stream->windows = windows;
  stream->lowpassHz = lowpassHz;
  stream->perFrame = like.samplesPerFrame();
  const float scale = lame_get_scale(stream->lame.get());
  if (scale > 0.0f) stream->inputGain = 1.0f / scale;
  streams_.push_back(std::move(stream));
  return *streams_.back();
}

std::vector<LooseFrame> EdgeEncoder::encode(const MpegFrameHeader& like, int kbps,
                                            const std::vector<float>& input, size_t frameCount,
                                            const QString& fileName, int warmUpFrames,
                                            EdgeWindows windows, EdgeBand band) {
  Stream& stream = streamFor(like, kbps, windows, band, fileName);
  try {
    return encodeOn(stream, input, frameCount, fileName, warmUpFrames);
  } catch (...) {
    // A stream an encoder failed on is not used again.
    std::erase_if(streams_, [&](const auto& open) { return open.get() == &stream; });
    throw;
  }
}

std::vector<LooseFrame> EdgeEncoder::encodeOn(Stream& stream, const std::vector<float>& input,
                                              size_t frameCount, const QString& fileName,
                                              int warmUpFrames) {
  // The input starts on a frame boundary, behind silence unless the stream
  // is new (a new encoder starts from silence of its own) or the frames the
  // caller drops keep what came before from the others.
  const int64_t gap = std::max<int64_t>(0, kQuietGap - int64_t{warmUpFrames} * stream.perFrame);
  const int64_t start =
      stream.fed == 0 ? 0 : roundUp(std::max(stream.fed, stream.audioEnd + gap), stream.perFrame);
  stream.kept.clear();
  stream.wantedFirst = static_cast<size_t>(start / stream.perFrame);
  stream.wantedCount = frameCount;
  stream.feedSilence(start - stream.fed, fileName);
  const auto samples = static_cast<int64_t>(input.size() / static_cast<size_t>(stream.channels));
  stream.feed(input.data(), samples, fileName);
  stream.audioEnd = stream.fed;
  // The encoder gives every frame whose look-ahead the input covers; only a
  // short input needs silence after it.
  const size_t mostDrained = frameCount + kMostDrainFrames;
  for (size_t drained = 0; stream.kept.size() < frameCount && drained < mostDrained; ++drained)
    stream.feedSilence(stream.perFrame, fileName);
  std::vector<LooseFrame> frames = std::move(stream.kept);
  stream.kept.clear();
  if (frames.size() < frameCount)
    throw AudioError(writeError(
        fileName, QStringLiteral("the MP3 encoder gave no usable frames for the audio at a cut")));
  return frames;
}

std::vector<LooseFrame> encodeLooseFrames(const MpegFrameHeader& like, int kbps,
                                          const std::vector<float>& input, size_t frameCount,
                                          const QString& fileName, EdgeWindows windows,
                                          EdgeBand band) {
  EdgeEncoder encoder;
  return encoder.encode(like, kbps, input, frameCount, fileName, 0, windows, band);
}

}  // namespace tarvex::mp3frames
