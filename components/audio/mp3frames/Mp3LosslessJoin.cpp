#include "components/audio/mp3frames/Mp3LosslessJoin.h"

#include "components/audio/AudioError.h"
#include "components/audio/ErrorText.h"
#include "components/audio/mp3frames/Mp3FrameSource.h"
#include "components/audio/mp3frames/Mp3LosslessCut.h"
#include "components/audio/mp3frames/Mp3StreamAssembler.h"
#include "components/audio/mp3frames/SilentFrame.h"

#include <QDir>

#include <memory>
#include <vector>

namespace tarvex::mp3frames {

Mp3JoinSources openJoinSources(const QStringList& parts) {
  Mp3JoinSources sources;
  for (const QString& part : parts) {
    sources.push_back(std::make_unique<Mp3FrameSource>(part));
    const Mp3FrameSource& first = *sources.front();
    const Mp3FrameSource& added = *sources.back();
    if (added.sampleRate() != first.sampleRate() || added.channels() != first.channels())
      throw AudioError(openError(
          part, QStringLiteral("its %1 Hz %2 does not match the %3 Hz %4 of %5")
                    .arg(added.sampleRate())
                    .arg(added.channels() == 1 ? QStringLiteral("mono") : QStringLiteral("stereo"))
                    .arg(first.sampleRate())
                    .arg(first.channels() == 1 ? QStringLiteral("mono") : QStringLiteral("stereo"))
                    .arg(QDir::toNativeSeparators(first.fileName()))));
  }
  return sources;
}

QString losslessJoinRefusal(const QStringList& parts) {
  try {
    openJoinSources(parts);
  } catch (const AudioError& error) {
    return error.message();
  }
  return {};
}

bool joinMp3Lossless(const QStringList& parts, const QString& outputPath, const QByteArray& id3Tag,
                     const std::atomic<bool>* stopFlag) {
  if (parts.isEmpty())
    throw AudioError(createError(outputPath, QStringLiteral("there is nothing to join")));
  return joinMp3Lossless(openJoinSources(parts), outputPath, id3Tag, stopFlag);
}

bool joinMp3Lossless(const Mp3JoinSources& sources, const QString& outputPath,
                     const QByteArray& id3Tag, const std::atomic<bool>* stopFlag) {
  if (sources.empty())
    throw AudioError(createError(outputPath, QStringLiteral("there is nothing to join")));
  const Mp3FrameSource& first = *sources.front();
  const Mp3FrameSource& last = *sources.back();
  const int perFrame = first.samplesPerFrame();
  const auto firstHeader =
      *MpegFrameHeader::decode(readBigEndian32(first.bytes() + first.frames().front().offset));

  Mp3StreamAssembler stream;
  // A first file without a LAME tag is heard from its very first sample,
  // which a header frame can only express behind a silent frame.
  const bool silentFrame = first.startPosition() < Mp3FrameSource::kDecoderDelay;
  if (silentFrame)
    stream.addFrame(makeSilentFrame(firstHeader, first.frames().front().bitrateIndex, {}),
                    firstHeader.bitrateIndex);
  int64_t rawBeforeLast = silentFrame ? perFrame : 0;
  for (const auto& source : sources) {
    if (stopRequested(stopFlag)) return false;
    if (source.get() == &last) rawBeforeLast = int64_t{stream.frameCount()} * perFrame;
    stream.addFrames(*source, 0, source->frames().size() - 1);
  }
  const int64_t rawSamples = int64_t{stream.frameCount()} * perFrame;
  LameTagDetails lame = copiedLameTag(first);
  lame.encoderDelay = static_cast<int>((silentFrame ? perFrame : 0) + first.startPosition() -
                                       Mp3FrameSource::kDecoderDelay);
  const int64_t end = rawBeforeLast + last.endPosition();
  lame.padding = static_cast<int>(rawSamples - end + Mp3FrameSource::kDecoderDelay);
  const int quality = first.infoFrame() ? first.infoFrame()->quality : 0;
  return stream.write(outputPath, id3Tag, firstHeader, lame, quality, stopFlag);
}

}  // namespace tarvex::mp3frames
