#include "components/audio/mp3frames/SeamlessJoin.h"

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
#include <array>
#include <optional>

namespace tarvex::mp3frames {

namespace {

// Frames the encoder is fed past those kept: it gives a frame once its
// psychoacoustic look-ahead has seen the real audio after it.
constexpr int kLookAheadFrames = 1;
// Tries with the later part's first copied frame one further on (one more
// encoded frame) when the reservoir it needs does not fit behind the seam.
constexpr int kExtraSeamTries = 3;
// Frames a copied run may give up at either end to meet encoded frames with
// long windows.
constexpr int kMostWindowMoves = 2;
// How far into a copied run the bitrate of the frames at its edge is taken.
constexpr size_t kBitrateOffset = 5;

[[noreturn]] void tooShort(const Mp3FrameSource& source) {
  throw AudioError(openError(
      source.fileName(), QStringLiteral("its part is too short to be joined by copying frames")));
}

// The gain of sample `index` of a part of `samples` whose first `in` samples
// rise over the part before and whose last `out` fall under the part after:
// the two gains of a crossfade add up to 1 at every sample.
double crossfadeGain(int64_t index, int64_t samples, int64_t in, int64_t out) {
  double gain = 1.0;
  if (index < in) gain *= static_cast<double>(index + 1) / static_cast<double>(in + 1);
  const int64_t intoOut = index - (samples - out);
  if (intoOut >= 0) gain *= 1.0 - static_cast<double>(intoOut + 1) / static_cast<double>(out + 1);
  return gain;
}

// Builds the frames of one plan: the parts' copied frames and, around them,
// frames encoded from the audio the output is to hold.
class JoinAssembly {
 public:
  JoinAssembly(const std::vector<JoinSpan>& spans, const SeamlessJoinPlan& plan,
               const QString& outputPath)
      : spans_(spans),
        plan_(plan),
        parts_(plan.parts),
        outputPath_(outputPath),
        like_(spans.front().source->firstHeader()),
        perFrame_(like_.samplesPerFrame()),
        ringing_(parts_.size(), false) {
    for (size_t i = 1; i < parts_.size(); ++i)
      ringing_[i] = parts_[i].overlap == 0 && edgesRing(spans_[i - 1], spans_[i]);
  }

  bool run(Mp3StreamAssembler& stream, const std::atomic<bool>* stopFlag) {
    int64_t next = 0;  // the output frame added next
    if (plan_.silentFrame) {
      const Mp3FrameSource& first = *spans_.front().source;
      std::vector<unsigned char> silent =
          makeSilentFrame(like_, first.frames().front().bitrateIndex, {});
      const int bitrateIndex =
          MpegFrameHeader::decode(readBigEndian32(silent.data()))->bitrateIndex;
      stream.addFrame(std::move(silent), bitrateIndex);
      next = 1;
    }
    for (size_t i = 0; i < parts_.size(); ++i) {
      if (stopRequested(stopFlag)) return false;
      SeamlessJoinPart& part = parts_[i];
      const int64_t firstOut = static_cast<int64_t>(part.firstFrame) + part.frameShift;
      if (firstOut > next) encodeBefore(stream, next, firstOut, i);
      stream.addFrames(*spans_[i].source, part.firstFrame, part.lastFrame);
      next = static_cast<int64_t>(part.lastFrame) + part.frameShift + 1;
    }
    if (next < plan_.frameCount) encodeBefore(stream, next, plan_.frameCount, parts_.size());
    return !stopRequested(stopFlag);
  }

 private:
  // Encodes output frames [begin, end) in front of part `following` (none
  // past the last part): from a few frames earlier, so the encoder's overlap
  // meets the copied frames before, and packed so the part's first copied
  // frames find the reservoir bytes they draw on.
  void encodeBefore(Mp3StreamAssembler& stream, int64_t begin, int64_t end, size_t following) {
    const int64_t preroll = std::min<int64_t>(prerollFrames(like_) + 1, begin);
    SeamlessJoinPart* part = following < parts_.size() ? &parts_[following] : nullptr;
    const Mp3FrameSource& beside = *spans_[part ? following : following - 1].source;
    const SeamlessJoinPart& copied = part ? *part : parts_.back();
    // The bitrates of copied frames, not of frames encoded at an edge of a
    // piece being joined back (those may be far above the source's).
    const auto around = static_cast<int64_t>(
        part ? std::min(copied.firstFrame + kBitrateOffset, copied.lastFrame)
             : std::max<size_t>(copied.lastFrame, copied.firstFrame + kBitrateOffset) -
                   kBitrateOffset);
    const std::vector<int> bitrates = edgeBitrates(beside, around);
    // The band of the recordings on both sides. The output's own first and
    // last frames hold a sudden start or stop of sound, as a piece's edges
    // do, and so does a seam between pieces whose encoded edges come without
    // their edge audio: what the encoder keeps above that band there is
    // mostly the spread of the sudden sound, and is left out, by the
    // recordings' mean bitrate where their tags do not say. Elsewhere the
    // seam is encoded from the recordings' own audio, which holds nothing
    // above their band: only a band their tags note is kept to.
    const bool outputEdge = following == 0 || following == parts_.size();
    const bool bareEdges = !outputEdge && ringing_[following] &&
                           (spans_[following - 1].source->edgeAudio().stretches.empty() ||
                            beside.edgeAudio().stretches.empty());
    EdgeBand band = following > 0
                        ? widerBand(edgeBand(beside), edgeBand(*spans_[following - 1].source))
                        : edgeBand(beside);
    if (!outputEdge && !bareEdges) band.kbps = 0;
    // Below them only when the reservoir the copied frames after the seam
    // need leaves the encoded frames no more room.
    std::vector<int> lower;
    MpegFrameHeader header = like_;
    for (int index = 14; index >= 1; --index) {
      header.bitrateIndex = index;
      if (header.bitrateKbps() < bitrates.back()) lower.push_back(header.bitrateKbps());
    }
    // The encoded frames' windows must meet the copied frames' on both
    // sides (see WindowMatch.h): the encoder's own choice where it does,
    // else windows forced to fit, else (the two sides wanting different
    // ones) the encoder's choice as it is.
    for (const WindowChoice choice :
         {WindowChoice::FreeIfMeeting, WindowChoice::Forced, WindowChoice::Free}) {
      for (const std::vector<int>* tried :
           std::array<const std::vector<int>*, 2>{&bitrates, &lower}) {
        for (int extra = 0; extra <= kExtraSeamTries; ++extra) {
          if (part && part->firstFrame + static_cast<size_t>(extra) > part->lastFrame) break;
          const size_t firstCopied = part ? part->firstFrame + static_cast<size_t>(extra) : 0;
          const std::optional<EdgeWindows> windows = choice == WindowChoice::Forced
                                                         ? fittingWindows(following, firstCopied)
                                                         : EdgeWindows::Free;
          if (!windows) break;
          const std::vector<unsigned char> reservoir =
              part ? beside.reservoirBefore(firstCopied,
                                            reservoirReach(beside, firstCopied, part->lastFrame))
                   : std::vector<unsigned char>();
          const int64_t frames = preroll + end + extra - begin;
          const int64_t rawBegin = (begin - preroll) * perFrame_ + kEdgeCodecDelay;
          const std::vector<float> input =
              outputAudio(rawBegin, rawBegin + (frames + kLookAheadFrames) * perFrame_);
          for (const int kbps : *tried) {
            std::vector<LooseFrame> loose = encoder_.encode(
                like_, kbps, input, static_cast<size_t>(frames), outputPath_, 0, *windows, band);
            loose.erase(loose.begin(), loose.begin() + preroll);
            if (choice == WindowChoice::FreeIfMeeting &&
                !windowsMeetCopied(loose, following, firstCopied))
              break;
            std::optional<PackedFrames> packed = packFrames(loose, reservoir);
            if (!packed) continue;
            stream.addPacked(std::move(*packed));
            if (part) part->firstFrame = firstCopied;
            return;
          }
        }
      }
    }
    throw AudioError(writeError(
        outputPath_,
        QStringLiteral("the bit reservoir of the frames after a seam does not fit in front")));
  }

  enum class WindowChoice { FreeIfMeeting, Forced, Free };

  // The copied frames on either side of frames encoded in front of part
  // `following` (the part before's last, that part's `firstCopied`), where
  // there are any.
  std::optional<Mp3SideInfo> copiedBefore(size_t following) const {
    if (following == 0) return std::nullopt;
    return spans_[following - 1].source->sideInfo(parts_[following - 1].lastFrame);
  }
  std::optional<Mp3SideInfo> copiedAfter(size_t following, size_t firstCopied) const {
    if (following >= parts_.size()) return std::nullopt;
    return spans_[following].source->sideInfo(firstCopied);
  }

  bool windowsMeetCopied(const std::vector<LooseFrame>& encoded, size_t following,
                         size_t firstCopied) const {
    const std::optional<Mp3SideInfo> before = copiedBefore(following);
    const std::optional<Mp3SideInfo> after = copiedAfter(following, firstCopied);
    return (!before || windowsMeet(like_, *before, encoded.front().parsedSideInfo())) &&
           (!after || windowsMeet(like_, encoded.back().parsedSideInfo(), *after));
  }

  // The windows that fit the copied frames on both sides, none when the two
  // want different ones.
  std::optional<EdgeWindows> fittingWindows(size_t following, size_t firstCopied) const {
    const std::optional<Mp3SideInfo> before = copiedBefore(following);
    const std::optional<Mp3SideInfo> after = copiedAfter(following, firstCopied);
    const std::optional<EdgeWindows> fitBefore =
        before ? std::optional(windowsAfter(*before, like_)) : std::nullopt;
    const std::optional<EdgeWindows> fitAfter =
        after ? std::optional(windowsBefore(*after, like_)) : std::nullopt;
    if (fitBefore && fitAfter && *fitBefore != *fitAfter) return std::nullopt;
    return fitBefore ? fitBefore : fitAfter;
  }

  // Samples past a part's end (before its start) whose decoding is added at
  // a seam where the parts meet exactly.
  int64_t ringSamples() const { return 2 * int64_t{perFrame_}; }

  // True when what `before` decodes to past its end, and `after` before its
  // start, is the coding error of an edge encoded against silence (a piece
  // whose edge frames were encoded again), not the neighbouring audio of
  // copied frames. Such an edge was cut from the audio the other part holds,
  // so adding both decodes where they meet gives that audio back with its
  // coding error spread smoothly, where butting them gives a step the size
  // of the two errors.
  bool edgesRing(const JoinSpan& before, const JoinSpan& after) const {
    // Compared just beside the cut, where a copied edge's frames still
    // decode whatever the padding or delay after (before) it is.
    const int64_t window = perFrame_ / 4;
    const int64_t end = before.source->startPosition() + before.endSample;
    const int64_t start = after.source->startPosition() + after.firstSample;
    const int64_t beforeFramesEnd =
        static_cast<int64_t>(before.source->frames().size()) * perFrame_;
    const int64_t past = std::clamp<int64_t>(beforeFramesEnd - end, 0, window);
    const int64_t ahead = std::clamp<int64_t>(start, 0, window);
    const auto differs = [](const std::vector<float>& beyond, const std::vector<float>& inside) {
      double difference = 0.0;
      double level = 0.0;
      for (size_t k = 0; k < beyond.size(); ++k) {
        const double off = double{beyond[k]} - double{inside[k]};
        difference += off * off;
        level += double{inside[k]} * inside[k];
      }
      return difference >= 0.25 * level;
    };
    // A copied edge past the cut holds the audio the other part begins
    // (ends) with: the two decodes agree there.
    return differs(decodeRawSpan(*before.source, end, end + past),
                   decodeRawSpan(*after.source, start, start + past)) &&
           differs(decodeRawSpan(*after.source, start - ahead, start),
                   decodeRawSpan(*before.source, end - ahead, end));
  }

  // What the output holds at raw decoder positions [rawBegin, rawEnd): the
  // parts' decoded audio, crossfaded where they overlap, added where their
  // edges ring (see edgesRing) and faded by the output's fades; silence
  // before and after the output.
  std::vector<float> outputAudio(int64_t rawBegin, int64_t rawEnd) const {
    const int channels = like_.channels();
    std::vector<float> audio(static_cast<size_t>((rawEnd - rawBegin) * channels), 0.0f);
    for (size_t i = 0; i < parts_.size(); ++i) {
      const JoinSpan& span = spans_[i];
      const SeamlessJoinPart& part = parts_[i];
      const int64_t samples = span.endSample - span.firstSample;
      const int64_t overlapAfter = i + 1 < parts_.size() ? parts_[i + 1].overlap : 0;
      const int64_t ringBefore = ringing_[i] ? ringSamples() : 0;
      const int64_t ringAfter = i + 1 < parts_.size() && ringing_[i + 1] ? ringSamples() : 0;
      const int64_t outBegin =
          std::max(part.outputStart - ringBefore, rawBegin - plan_.startPosition);
      const int64_t outEnd =
          std::min(part.outputStart + samples + ringAfter, rawEnd - plan_.startPosition);
      if (outBegin >= outEnd) continue;
      const int64_t sourceBegin =
          span.source->startPosition() + span.firstSample + (outBegin - part.outputStart);
      const std::vector<float> decoded =
          decodeRawSpan(*span.source, sourceBegin, sourceBegin + (outEnd - outBegin));
      for (int64_t at = outBegin; at < outEnd; ++at) {
        // Past the part's ends (its ringing) the gain of its nearest sample.
        const int64_t inPart = std::clamp<int64_t>(at - part.outputStart, 0, samples - 1);
        const double gain =
            fadeGain(plan_.fades, std::clamp<int64_t>(at, 0, plan_.samples - 1), plan_.samples) *
            crossfadeGain(inPart, samples, part.overlap, overlapAfter);
        if (gain == 0.0) continue;
        const auto from = static_cast<size_t>((at - outBegin) * channels);
        const auto to = static_cast<size_t>((at + plan_.startPosition - rawBegin) * channels);
        for (int channel = 0; channel < channels; ++channel)
          audio[to + static_cast<size_t>(channel)] +=
              static_cast<float>(decoded[from + static_cast<size_t>(channel)] * gain);
      }
    }
    return audio;
  }

  const std::vector<JoinSpan>& spans_;
  const SeamlessJoinPlan& plan_;
  std::vector<SeamlessJoinPart> parts_;  // first frames move on when a reservoir needs room
  const QString& outputPath_;
  const MpegFrameHeader like_;
  const int perFrame_;
  std::vector<bool> ringing_;  // per part: it meets the part before with ringing edges
  EdgeEncoder encoder_;        // one for every seam and try: set up once per format and bitrate
};

}  // namespace

SeamlessJoinPlan planSeamlessJoin(const std::vector<JoinSpan>& parts, const PieceFades& fades) {
  if (parts.empty()) throw AudioError(QStringLiteral("There is nothing to join."));
  for (const JoinSpan& span : parts) planMp3Piece(*span.source, span.firstSample, span.endSample);
  const Mp3FrameSource& first = *parts.front().source;
  const int perFrame = first.samplesPerFrame();
  SeamlessJoinPlan plan;
  plan.copiedStart = parts.front().firstSample == 0 && fades.in <= 0;
  if (plan.copiedStart) {
    // A source without a LAME tag is heard from its very first sample, which
    // a header frame can only express behind a silent frame.
    plan.silentFrame = first.startPosition() < Mp3FrameSource::kDecoderDelay;
    plan.startPosition = first.startPosition() + (plan.silentFrame ? perFrame : 0);
  } else {
    // Encoded frame r decodes to the input r - kEdgeCodecDelay: the least
    // delay that puts the first part's frames on the grid.
    plan.startPosition =
        kEdgeCodecDelay +
        floorMod(first.startPosition() + parts.front().firstSample - kEdgeCodecDelay, perFrame);
  }

  int64_t end = 0;  // of the parts placed so far, in output samples
  for (const JoinSpan& span : parts) {
    const int64_t start = span.source->startPosition() + span.firstSample;
    SeamlessJoinPart part;
    part.overlap = floorMod(end + plan.startPosition - start, perFrame);
    part.outputStart = end - part.overlap;
    part.frameShift = (part.outputStart + plan.startPosition - start) / perFrame;
    end = part.outputStart + span.endSample - span.firstSample;
    plan.parts.push_back(part);
  }
  plan.samples = end;
  plan.fades.in = std::clamp<int64_t>(fades.in, 0, plan.samples);
  plan.fades.out = std::clamp<int64_t>(fades.out, 0, plan.samples);
  const JoinSpan& last = parts.back();
  plan.copiedEnd = last.endSample == last.source->totalSamples() && plan.fades.out == 0;

  for (size_t i = 0; i < parts.size(); ++i) {
    const JoinSpan& span = parts[i];
    const Mp3FrameSource& source = *span.source;
    SeamlessJoinPart& part = plan.parts[i];
    const int64_t samples = span.endSample - span.firstSample;
    const int64_t overlapAfter = i + 1 < parts.size() ? plan.parts[i + 1].overlap : 0;
    // The output samples this part alone holds at full level, as copied.
    const int64_t plainBegin = std::max(part.outputStart + part.overlap, plan.fades.in);
    const int64_t plainEnd =
        std::min(part.outputStart + samples - overlapAfter, plan.samples - plan.fades.out);
    if (plainBegin >= plainEnd) tooShort(source);
    const int64_t toSource = part.frameShift * perFrame - plan.startPosition;
    const int64_t rawBegin = plainBegin - toSource;
    const int64_t rawEnd = plainEnd - toSource;
    int64_t firstFrame = 0;
    if (i == 0 && plan.copiedStart)
      firstFrame = 0;
    else if (plainBegin == part.outputStart)
      firstFrame = ceilDiv(rawBegin, perFrame);
    else  // the encoded frames take the crossfade or fade and the overlap after it
      firstFrame = ceilDiv(rawBegin + kEdgeCodecDelay, perFrame);
    int64_t lastFrame = static_cast<int64_t>(source.frames().size()) - 1;
    if (i + 1 < parts.size() || !plan.copiedEnd) {
      // A copied frame's overlap and the filterbank carry what follows its
      // last sample about as far as the codec's delay.
      lastFrame = std::min(lastFrame, floorDiv(rawEnd - kEdgeCodecDelay, perFrame) - 1);
    }
    if (firstFrame > lastFrame || firstFrame < 0) tooShort(source);
    // Encoded frames beside a copied run take long windows where they meet
    // it (see WindowMatch.h), so the run begins and ends on frames whose
    // windows meet long ones: a piece's own encoded edge, say, may end on a
    // window leading into short ones.
    const bool encodedBefore = !(i == 0 && plan.copiedStart);
    const bool encodedAfter = i + 1 < parts.size() || !plan.copiedEnd;
    const MpegFrameHeader& header = source.firstHeader();
    for (int moved = 0; moved < kMostWindowMoves && encodedBefore && firstFrame < lastFrame &&
                        !source.sideInfo(static_cast<size_t>(firstFrame)).opensLong(header, 0);
         ++moved)
      ++firstFrame;
    for (int moved = 0;
         moved < kMostWindowMoves && encodedAfter && firstFrame < lastFrame &&
         !source.sideInfo(static_cast<size_t>(lastFrame)).closesLong(header, header.granules() - 1);
         ++moved)
      --lastFrame;
    if (i > 0) {
      const SeamlessJoinPart& before = plan.parts[i - 1];
      if (firstFrame + part.frameShift <=
          static_cast<int64_t>(before.lastFrame) + before.frameShift)
        tooShort(source);
    }
    part.firstFrame = static_cast<size_t>(firstFrame);
    part.lastFrame = static_cast<size_t>(lastFrame);
  }
  const SeamlessJoinPart& lastPart = plan.parts.back();
  plan.frameCount = plan.copiedEnd
                        ? static_cast<int64_t>(lastPart.lastFrame) + lastPart.frameShift + 1
                        : floorDiv(plan.startPosition + plan.samples - 1, perFrame) + 1;
  return plan;
}

bool writeSeamlessJoin(const std::vector<JoinSpan>& parts, const SeamlessJoinPlan& plan,
                       const QString& outputPath, const QByteArray& id3Tag,
                       const std::atomic<bool>* stopFlag) {
  Mp3StreamAssembler stream;
  JoinAssembly assembly(parts, plan, outputPath);
  if (!assembly.run(stream, stopFlag)) return false;
  const Mp3FrameSource& first = *parts.front().source;
  LameTagDetails lame = copiedLameTag(first);
  lame.encoderDelay = static_cast<int>(plan.startPosition - Mp3FrameSource::kDecoderDelay);
  lame.padding = static_cast<int>(plan.frameCount * first.samplesPerFrame() - plan.startPosition -
                                  plan.samples + Mp3FrameSource::kDecoderDelay);
  const int quality = first.infoFrame() ? first.infoFrame()->quality : 0;
  return stream.write(outputPath, id3Tag, first.firstHeader(), lame, quality, stopFlag);
}

}  // namespace tarvex::mp3frames
