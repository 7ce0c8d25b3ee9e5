#include "components/audio/mp3frames/Mp3LosslessCut.h"

#include "components/audio/AudioError.h"
#include "components/audio/ErrorText.h"
#include "components/audio/mp3frames/EdgeEncoder.h"
#include "components/audio/mp3frames/Mp3StreamAssembler.h"
#include "components/audio/mp3frames/PieceEdgeAudio.h"
#include "components/audio/mp3frames/SeamlessPiece.h"
#include "components/audio/mp3frames/SilentFrame.h"

#include <lame/lame.h>

#include <algorithm>
#include <optional>

namespace tarvex::mp3frames {

namespace {

bool knownGaplessEncoder(const QByteArray& name) {
  // Decoders trust the delay and padding only behind these names.
  return name.startsWith("LAME") || name.startsWith("Lavf") || name.startsWith("Lavc");
}

}  // namespace

int prerollFrames(const MpegFrameHeader& header) {
  return header.version == MpegFrameHeader::Version::Mpeg1 ? 1 : 2;
}

QString losslessCutRefusal(const QString& sourcePath) {
  try {
    const Mp3FrameSource source(sourcePath);
  } catch (const AudioError& error) {
    return error.message();
  }
  return {};
}

LameTagDetails copiedLameTag(const Mp3FrameSource& source) {
  const auto& info = source.infoFrame();
  if (info && info->lame && knownGaplessEncoder(info->lame->encoder)) {
    LameTagDetails details = *info->lame;
    std::fill(details.before.begin() + 2, details.before.begin() + 10, 0);  // peak, gains
    details.after[1] = 0;                                                   // MP3 gain
    return details;
  }
  return plainLameTag(QByteArray("LAME") + get_lame_short_version(), 0, 0);
}

int reservoirReach(const Mp3FrameSource& source, size_t first, size_t last) {
  const std::vector<FrameEntry>& frames = source.frames();
  int64_t areaStart = 0;  // relative to the first frame's area
  int64_t earliest = 0;
  for (size_t index = first; index <= last && index < frames.size(); ++index) {
    if (areaStart - 511 >= earliest) break;  // no later frame reaches further back
    earliest = std::min(earliest, areaStart - frames[index].mainDataBegin);
    areaStart += frames[index].areaBytes();
  }
  return static_cast<int>(-earliest);
}

Mp3PiecePlan planMp3Piece(const Mp3FrameSource& source, int64_t firstSample, int64_t endSample) {
  if (firstSample < 0 || endSample > source.totalSamples() || firstSample >= endSample)
    throw AudioError(
        readError(source.fileName(), QStringLiteral("samples %1 to %2 lie outside its %3 samples")
                                         .arg(firstSample)
                                         .arg(endSample)
                                         .arg(source.totalSamples())));
  const int perFrame = source.samplesPerFrame();
  const int64_t start = source.startPosition() + firstSample;
  const int64_t end = source.startPosition() + endSample;
  const int64_t holdingFirst = start / perFrame;
  Mp3PiecePlan plan;
  plan.firstFrame =
      static_cast<size_t>(std::max<int64_t>(0, holdingFirst - prerollFrames(source.firstHeader())));
  plan.lastFrame = static_cast<size_t>((end - 1) / perFrame);
  plan.samples = endSample - firstSample;

  plan.reservoirBytes = reservoirReach(source, plan.firstFrame, plan.lastFrame);

  const int64_t lead = start - static_cast<int64_t>(plan.firstFrame) * perFrame;
  plan.silentFrame = plan.reservoirBytes > 0 || lead < Mp3FrameSource::kDecoderDelay;
  plan.encoderDelay =
      static_cast<int>((plan.silentFrame ? perFrame : 0) + lead - Mp3FrameSource::kDecoderDelay);
  const int64_t rawSamples =
      (static_cast<int64_t>(plan.lastFrame - plan.firstFrame) + 1 + (plan.silentFrame ? 1 : 0)) *
      perFrame;
  plan.padding = static_cast<int>(rawSamples - plan.encoderDelay - plan.samples);
  return plan;
}

bool writeMp3Piece(const Mp3FrameSource& source, int64_t firstSample, int64_t endSample,
                   const QString& outputPath, const QByteArray& id3Tag,
                   const std::atomic<bool>* stopFlag, PieceEdges edges, const PieceFades& fades,
                   EdgeEncoder* edgeEncoder, SeamlessPiecePlan* written,
                   const PieceTagMaker& tagWithEdgeAudio) {
  if (edges == PieceEdges::Reencoded) {
    SeamlessPiecePlan plan = planSeamlessPiece(source, firstSample, endSample, fades);
    Mp3StreamAssembler stream;
    std::optional<EdgeEncoder> ownEncoder;
    EdgeEncoder& encoder = edgeEncoder != nullptr ? *edgeEncoder : ownEncoder.emplace();
    assembleSeamlessPiece(source, plan, firstSample, outputPath, encoder, stream);
    if (written != nullptr) *written = plan;
    LameTagDetails lame = copiedLameTag(source);
    lame.encoderDelay = plan.encoderDelay;
    lame.padding = plan.padding;
    const int quality = source.infoFrame() ? source.infoFrame()->quality : 0;
    QByteArray tag = id3Tag;
    if (tagWithEdgeAudio) {
      const EdgeAudio edgeAudio =
          measurePieceEdgeAudio(source, plan, firstSample, stream, outputPath);
      tag =
          tagWithEdgeAudio(edgeAudio.stretches.empty() ? QByteArray() : storeEdgeAudio(edgeAudio));
    }
    return stream.write(outputPath, tag, source.firstHeader(), lame, quality, stopFlag);
  }
  const Mp3PiecePlan plan = planMp3Piece(source, firstSample, endSample);
  const FrameEntry& first = source.frames()[plan.firstFrame];
  const auto firstHeader = *MpegFrameHeader::decode(readBigEndian32(source.bytes() + first.offset));
  Mp3StreamAssembler stream;
  if (plan.silentFrame) {
    std::vector<unsigned char> silent =
        makeSilentFrame(firstHeader, first.bitrateIndex,
                        source.reservoirBefore(plan.firstFrame, plan.reservoirBytes));
    if (silent.empty())
      throw AudioError(readError(source.fileName(),
                                 QStringLiteral("its bit reservoir does not fit in one frame")));
    const int bitrateIndex = MpegFrameHeader::decode(readBigEndian32(silent.data()))->bitrateIndex;
    stream.addFrame(std::move(silent), bitrateIndex);
  }
  stream.addFrames(source, plan.firstFrame, plan.lastFrame);
  LameTagDetails lame = copiedLameTag(source);
  lame.encoderDelay = plan.encoderDelay;
  lame.padding = plan.padding;
  const int quality = source.infoFrame() ? source.infoFrame()->quality : 0;
  return stream.write(outputPath, id3Tag, firstHeader, lame, quality, stopFlag);
}

bool cutMp3Piece(const QString& sourcePath, int64_t firstSample, int64_t endSample,
                 const QString& outputPath, const QByteArray& id3Tag,
                 const std::atomic<bool>* stopFlag) {
  const Mp3FrameSource source(sourcePath);
  return writeMp3Piece(source, firstSample, endSample, outputPath, id3Tag, stopFlag);
}

}  // namespace tarvex::mp3frames
