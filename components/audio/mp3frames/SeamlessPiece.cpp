#include "components/audio/mp3frames/SeamlessPiece.h"

#include "components/audio/AudioError.h"
#include "components/audio/ErrorText.h"
#include "components/audio/mp3frames/EdgeBitrates.h"
#include "components/audio/mp3frames/EdgeEncoder.h"
#include "components/audio/mp3frames/FrameGrid.h"
#include "components/audio/mp3frames/FrameRepack.h"
#include "components/audio/mp3frames/Mp3LosslessCut.h"
#include "components/audio/mp3frames/Mp3StreamAssembler.h"
#include "components/audio/mp3frames/SilentFrame.h"
#include "components/audio/mp3frames/SourcePcm.h"
#include "components/audio/mp3frames/WindowMatch.h"

#include <algorithm>

namespace tarvex::mp3frames {

namespace {

// Frames the encoder is fed past those kept: it gives a frame once its
// psychoacoustic look-ahead has seen the real audio after it.
constexpr int kLookAheadFrames = 1;
// Tries with one more encoded frame at the start when the reservoir the
// first copied frame needs does not fit behind the encoded ones.
constexpr int kExtraLeadTries = 3;

// The frames encoded before the tail's kept ones: they bring the encoder's
// overlap and filterbank to the audio the copied frames end with.
int tailPrerollFrames(const MpegFrameHeader& header) {
  return prerollFrames(header) + 1;
}

// The source's decoded audio over raw positions [rawBegin, rawEnd), behind
// `zeros` silent samples: silent at and after the piece's end, faded where
// `plan` fades it (the piece starts at raw position `start`).
std::vector<float> encoderInput(const Mp3FrameSource& source, const SeamlessPiecePlan& plan,
                                int64_t start, int64_t rawBegin, int64_t rawEnd, int zeros) {
  const int channels = source.channels();
  std::vector<float> input(static_cast<size_t>(zeros) * channels, 0.0f);
  std::vector<float> audio = decodeRawSpan(source, rawBegin, rawEnd);
  for (int64_t raw = std::max(rawBegin, start); raw < rawEnd; ++raw) {
    const double gain = fadeGain(plan.fades, raw - start, plan.samples);
    if (gain == 1.0) continue;
    for (int channel = 0; channel < channels; ++channel) {
      float& value = audio[static_cast<size_t>((raw - rawBegin) * channels + channel)];
      value = static_cast<float>(value * gain);
    }
  }
  input.insert(input.end(), audio.begin(), audio.end());
  return input;
}

}  // namespace

double fadeGain(const PieceFades& fades, int64_t index, int64_t samples) {
  if (index < 0 || index >= samples) return 0.0;
  double gain = 1.0;
  if (index < fades.in) gain *= fades.in > 1 ? static_cast<double>(index) / (fades.in - 1) : 0.0;
  const int64_t fromEnd = samples - 1 - index;
  if (fromEnd < fades.out)
    gain *= fades.out > 1 ? static_cast<double>(fromEnd) / (fades.out - 1) : 0.0;
  return gain;
}

SeamlessPiecePlan planSeamlessPiece(const Mp3FrameSource& source, int64_t firstSample,
                                    int64_t endSample, const PieceFades& fades) {
  const Mp3PiecePlan copied = planMp3Piece(source, firstSample, endSample);  // checks the range
  const int perFrame = source.samplesPerFrame();
  const int64_t start = source.startPosition() + firstSample;
  const int64_t end = source.startPosition() + endSample;
  SeamlessPiecePlan plan;
  plan.samples = endSample - firstSample;
  plan.fades.in = std::clamp<int64_t>(fades.in, 0, plan.samples);
  plan.fades.out = std::clamp<int64_t>(fades.out, 0, plan.samples);

  int64_t first = 0;
  if (firstSample == 0 && plan.fades.in == 0) {
    plan.copiedStart = true;
    first = static_cast<int64_t>(copied.firstFrame);
  } else if (plan.fades.in == 0) {
    first = ceilDiv(start, perFrame);
  } else {
    // The encoded frames take the fade and the overlap after it, so the
    // first copied frame meets audio at full level.
    first = ceilDiv(start + plan.fades.in + kEdgeCodecDelay, perFrame);
  }
  int64_t last = static_cast<int64_t>(copied.lastFrame);
  if (endSample < source.totalSamples() || plan.fades.out > 0) {
    // A copied frame's overlap and the filterbank carry what follows its
    // last sample about as far as the codec's delay: the last one copied
    // ends that far before the cut, else the neighbour leaks past it.
    last = floorDiv(end - plan.fades.out - kEdgeCodecDelay, perFrame) - 1;
    plan.tailFrames = static_cast<int>(floorDiv(end - 1, perFrame) - last);
  }

  if (first > last) {
    // Nothing to copy: the piece alone, encoded.
    plan.copiedStart = false;
    plan.tailFrames = 0;
    plan.leadFrames = static_cast<int>(ceilDiv(kEdgeCodecDelay + plan.samples, perFrame));
    plan.encoderDelay = kEdgeCodecDelay - Mp3FrameSource::kDecoderDelay;
    plan.padding =
        static_cast<int>(plan.leadFrames * int64_t{perFrame} - plan.encoderDelay - plan.samples);
    return plan;
  }
  plan.copies = true;
  plan.firstFrame = static_cast<size_t>(first);
  plan.lastFrame = static_cast<size_t>(last);
  plan.reservoirBytes = reservoirReach(source, plan.firstFrame, plan.lastFrame);
  if (plan.copiedStart) {
    plan.silentFrame = copied.silentFrame;
    plan.encoderDelay = copied.encoderDelay;
  } else {
    // Encoded frame r decodes to the input r - kEdgeCodecDelay; the piece's
    // first sample must land where the first copied frame puts it.
    const int64_t before = kEdgeCodecDelay + first * perFrame - start;
    plan.leadFrames = static_cast<int>(ceilDiv(before, perFrame));
    plan.leadZeros = static_cast<int>(plan.leadFrames * int64_t{perFrame} - before);
    plan.encoderDelay = kEdgeCodecDelay - Mp3FrameSource::kDecoderDelay + plan.leadZeros;
  }
  const int64_t rawFrames = plan.leadFrames + (plan.silentFrame ? 1 : 0) +
                            static_cast<int64_t>(plan.lastFrame - plan.firstFrame) + 1 +
                            plan.tailFrames;
  plan.padding = static_cast<int>(rawFrames * perFrame - plan.encoderDelay - plan.samples);
  return plan;
}

void assembleSeamlessPiece(const Mp3FrameSource& source, SeamlessPiecePlan& plan,
                           int64_t firstSample, const QString& outputPath, EdgeEncoder& encoder,
                           Mp3StreamAssembler& stream) {
  int leadFrames = plan.leadFrames;
  int addedDelay = 0;
  const MpegFrameHeader& like = source.firstHeader();
  const int perFrame = source.samplesPerFrame();
  const int64_t start = source.startPosition() + firstSample;
  size_t firstCopied = plan.firstFrame;
  size_t lastCopied = plan.lastFrame;

  std::optional<PackedFrames> lead;
  if (plan.silentFrame) {
    const FrameEntry& first = source.frames()[plan.firstFrame];
    std::vector<unsigned char> silent = makeSilentFrame(
        like, first.bitrateIndex, source.reservoirBefore(plan.firstFrame, plan.reservoirBytes));
    if (silent.empty())
      throw AudioError(readError(source.fileName(),
                                 QStringLiteral("its bit reservoir does not fit in one frame")));
    const int bitrateIndex = MpegFrameHeader::decode(readBigEndian32(silent.data()))->bitrateIndex;
    stream.addFrame(std::move(silent), bitrateIndex);
  } else if (plan.leadFrames > 0) {
    const std::vector<int> bitrates = edgeBitrates(
        source, plan.copies ? static_cast<int64_t>(plan.firstFrame) : start / perFrame);
    // The encoded frames' last window must end as the first copied frame's
    // begins, else the two do not overlap cleanly and the audio between them
    // is damaged: the encoder's own choice, else one more frame encoded
    // (the choice then falls a frame earlier), else windows forced.
    const size_t copiedBeside = plan.copies ? plan.lastFrame - plan.firstFrame + 1 : 0;
    for (const EdgeTry& edgeTry : edgeTries(plan.leadFrames, copiedBeside)) {
      if (lead) break;
      const size_t firstTried = plan.firstFrame + static_cast<size_t>(edgeTry.moreFrames);
      const std::vector<unsigned char> reservoir =
          plan.copies ? source.reservoirBefore(firstTried,
                                               reservoirReach(source, firstTried, plan.lastFrame))
                      : std::vector<unsigned char>();
      const EdgeWindows windows =
          edgeTry.forced ? windowsBefore(source.sideInfo(firstTried), like) : EdgeWindows::Free;
      // A lower bitrate, or else more silence in front (a longer delay),
      // leaves the reservoir more room.
      bool mismatch = false;
      for (int extra = 0; extra <= kExtraLeadTries && !lead && !mismatch; ++extra) {
        const int frames = plan.leadFrames + edgeTry.moreFrames + extra;
        const std::vector<float> input = encoderInput(
            source, plan, start, start, start + int64_t{frames + kLookAheadFrames} * perFrame,
            plan.leadZeros + extra * perFrame);
        for (size_t i = 0; i < bitrates.size() && !lead; ++i) {
          std::vector<LooseFrame> loose =
              encoder.encode(like, bitrates[i], input, static_cast<size_t>(frames), outputPath, 0,
                             windows, edgeBand(source));
          mismatch = !edgeTry.last &&
                     !windowsMeet(like, loose.back().parsedSideInfo(), source.sideInfo(firstTried));
          if (mismatch) break;
          lead = packFrames(loose, reservoir);
        }
        if (lead) {
          leadFrames = frames;
          addedDelay = extra * perFrame;
          firstCopied = firstTried;
        }
      }
    }
    if (!lead)
      throw AudioError(writeError(
          outputPath,
          QStringLiteral("the bit reservoir of the frames after the cut does not fit in front")));
  }

  std::optional<PackedFrames> tail;
  int tailFrames = plan.tailFrames;
  if (plan.tailFrames > 0) {
    const int preroll = tailPrerollFrames(like);
    for (const EdgeTry& edgeTry : edgeTries(plan.tailFrames, lastCopied - firstCopied + 1)) {
      const size_t lastTried = plan.lastFrame - static_cast<size_t>(edgeTry.moreFrames);
      const int64_t firstTail = static_cast<int64_t>(lastTried) + 1;
      const int64_t rawBegin = (firstTail - preroll) * perFrame + kEdgeCodecDelay;
      const int frames = preroll + plan.tailFrames + edgeTry.moreFrames;
      const std::vector<float> input =
          encoderInput(source, plan, start, rawBegin,
                       rawBegin + int64_t{frames + kLookAheadFrames} * perFrame, 0);
      const EdgeWindows windows =
          edgeTry.forced ? windowsAfter(source.sideInfo(lastTried), like) : EdgeWindows::Free;
      std::vector<LooseFrame> loose =
          encoder.encode(like, tailBitrate(source), input, static_cast<size_t>(frames), outputPath,
                         preroll, windows, edgeBand(source));
      loose.erase(loose.begin(), loose.begin() + preroll);
      if (!edgeTry.last &&
          !windowsMeet(like, source.sideInfo(lastTried), loose.front().parsedSideInfo()))
        continue;
      tail = packFrames(loose, {});
      if (!tail)
        throw AudioError(
            writeError(outputPath, QStringLiteral("the frames at the end do not fit any bitrate")));
      lastCopied = lastTried;
      tailFrames = plan.tailFrames + edgeTry.moreFrames;
      break;
    }
  }

  if (lead) stream.addPacked(std::move(*lead));
  if (plan.copies) stream.addFrames(source, firstCopied, lastCopied);
  if (tail) stream.addPacked(std::move(*tail));
  plan.firstFrame = firstCopied;
  plan.lastFrame = lastCopied;
  plan.leadFrames = leadFrames;
  plan.tailFrames = tailFrames;
  plan.encoderDelay += addedDelay;
}

}  // namespace tarvex::mp3frames
