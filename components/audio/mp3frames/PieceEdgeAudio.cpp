#include "components/audio/mp3frames/PieceEdgeAudio.h"

#include "components/audio/mp3frames/Mp3StreamAssembler.h"
#include "components/audio/mp3frames/SourcePcm.h"

#include <algorithm>
#include <cmath>

namespace tarvex::mp3frames {

namespace {

// Copied frames past an encoded edge over which the decoding still differs
// from the source's: the first copied granule adds the last encoded one's
// overlap, and the synthesis filterbank carries it a little further.
constexpr int64_t kSettlingFrames = 2;

// One stretch over the piece's raw positions [rawBegin, rawEnd), decoded
// from a few frames earlier.
EdgeAudioStretch measureStretch(const Mp3FrameSource& source, const SeamlessPiecePlan& plan,
                                int64_t firstSample, const Mp3StreamAssembler& stream,
                                const QString& outputPath, int64_t rawBegin, int64_t rawEnd) {
  const MpegFrameHeader& like = source.firstHeader();
  const int perFrame = like.samplesPerFrame();
  const int channels = like.channels();
  const auto firstFrame = static_cast<size_t>(rawBegin / perFrame);
  const auto endFrame = static_cast<size_t>((rawEnd + perFrame - 1) / perFrame);
  // Main-data areas counted short by a CRC, so the reservoir is surely reached.
  const std::vector<uint64_t>& offsets = stream.frameOffsets();
  const int overhead = 4 + 2 + like.sideInfoBytes();
  const auto fedFrame = static_cast<size_t>(
      firstFedFrame(like, static_cast<int64_t>(firstFrame), [&offsets, overhead](int64_t index) {
        const auto at = static_cast<size_t>(index);
        return static_cast<int>(offsets[at + 1] - offsets[at]) - overhead;
      }));
  const std::vector<unsigned char> bytes = stream.frameBytes(fedFrame, endFrame);
  const std::vector<float> decoded =
      decodeFrameBytes(bytes.data(), bytes.size(), static_cast<int64_t>(fedFrame) * perFrame, like,
                       rawBegin, rawEnd, outputPath);

  // The piece's sample 0 is raw position `pieceStart`; the source's is `start`.
  const int64_t pieceStart = plan.encoderDelay + Mp3FrameSource::kDecoderDelay;
  const int64_t start = source.startPosition() + firstSample;
  const int64_t inBegin = std::clamp(rawBegin, pieceStart, pieceStart + plan.samples);
  const int64_t inEnd = std::clamp(rawEnd, pieceStart, pieceStart + plan.samples);
  std::vector<float> wanted(decoded.size(), 0.0f);
  if (inBegin < inEnd) {
    const std::vector<float> held =
        decodeRawSpan(source, inBegin - pieceStart + start, inEnd - pieceStart + start);
    for (int64_t raw = inBegin; raw < inEnd; ++raw) {
      const double gain = fadeGain(plan.fades, raw - pieceStart, plan.samples);
      for (int channel = 0; channel < channels; ++channel)
        wanted[static_cast<size_t>((raw - rawBegin) * channels + channel)] = static_cast<float>(
            held[static_cast<size_t>((raw - inBegin) * channels + channel)] * gain);
    }
  }

  EdgeAudioStretch stretch;
  stretch.rawBegin = rawBegin;
  // Every frame fed is named: the decoding depends on them all.
  stretch.firstFrame = static_cast<uint32_t>(fedFrame);
  stretch.frameCount = static_cast<uint32_t>(endFrame - fedFrame);
  stretch.framesHash = frameBytesHash(bytes.data(), bytes.size());
  stretch.difference.resize(decoded.size());
  for (size_t i = 0; i < decoded.size(); ++i) {
    const double step = std::round((double{wanted[i]} - double{decoded[i]}) * 32768.0);
    stretch.difference[i] = static_cast<int16_t>(std::clamp(step, -32768.0, 32767.0));
  }
  return stretch;
}

// Drops the samples at either end of the stretch whose difference is none
// (the silence before a piece, the settled decoding of copied frames).
void trimUnchanged(EdgeAudioStretch& stretch, int channels) {
  std::vector<int16_t>& values = stretch.difference;
  const auto unchanged = [&](size_t sample) {
    for (int channel = 0; channel < channels; ++channel)
      if (values[sample * channels + channel] != 0) return false;
    return true;
  };
  size_t end = values.size() / channels;
  while (end > 0 && unchanged(end - 1)) --end;
  size_t first = 0;
  while (first < end && unchanged(first)) ++first;
  values.resize(end * channels);
  values.erase(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(first * channels));
  stretch.rawBegin += static_cast<int64_t>(first);
}

}  // namespace

EdgeAudio measurePieceEdgeAudio(const Mp3FrameSource& source, const SeamlessPiecePlan& plan,
                                int64_t firstSample, const Mp3StreamAssembler& stream,
                                const QString& outputPath) {
  const int64_t perFrame = source.samplesPerFrame();
  const int64_t frames = stream.frameCount();
  const int64_t rawEnd = frames * perFrame;
  // The piece's raw positions to measure over, in no order, overlapping.
  std::vector<std::pair<int64_t, int64_t>> spans;
  // The encoded frames: all of them when nothing is copied. A faded edge
  // is not one a join gives back the recording's audio at, and its frames
  // reach over the whole fade: it carries none.
  const int64_t headFrames = plan.fades.in > 0 ? 0 : plan.copies ? plan.leadFrames : frames;
  const int64_t tailFrames = plan.fades.out > 0 || !plan.copies ? 0 : plan.tailFrames;
  if (headFrames > 0) spans.emplace_back(0, (headFrames + kSettlingFrames) * perFrame);
  if (tailFrames > 0)
    spans.emplace_back((frames - tailFrames - kSettlingFrames) * perFrame, rawEnd);
  // A piece cut from a piece copies that piece's own encoded edges where
  // it shares them: what the source's edge audio covers is carried over,
  // measured like the rest (the source is decoded with it).
  const int64_t shift =
      plan.encoderDelay + Mp3FrameSource::kDecoderDelay - (source.startPosition() + firstSample);
  for (const EdgeAudioStretch& stretch : source.edgeAudio().stretches) {
    const auto length = static_cast<int64_t>(stretch.difference.size()) / source.channels();
    spans.emplace_back(stretch.rawBegin + shift - perFrame,
                       stretch.rawBegin + length + shift + perFrame);
  }

  for (auto& [begin, end] : spans) {
    begin = std::clamp<int64_t>(begin, 0, rawEnd);
    end = std::clamp<int64_t>(end, 0, rawEnd);
  }
  std::sort(spans.begin(), spans.end());
  EdgeAudio audio;
  audio.channels = source.channels();
  for (size_t i = 0; i < spans.size();) {
    // Spans that meet or overlap are measured as one.
    auto [begin, end] = spans[i];
    for (++i; i < spans.size() && spans[i].first <= end; ++i) end = std::max(end, spans[i].second);
    if (begin >= end) continue;
    EdgeAudioStretch stretch =
        measureStretch(source, plan, firstSample, stream, outputPath, begin, end);
    trimUnchanged(stretch, audio.channels);
    if (!stretch.difference.empty()) audio.stretches.push_back(std::move(stretch));
  }
  return audio;
}

}  // namespace tarvex::mp3frames
