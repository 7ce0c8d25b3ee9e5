#include "components/audio/mp3frames/Mp3LosslessJoin.h"

#include "components/audio/AudioError.h"
#include "components/audio/ErrorText.h"
#include "components/audio/mp3frames/Mp3FrameSource.h"
#include "components/audio/mp3frames/SeamlessJoin.h"

#include <QDir>

#include <memory>
#include <vector>

namespace tarvex::mp3frames {

Mp3JoinSources openJoinSources(const QStringList& parts, const EdgeAudioReader& storedEdgeAudioOf) {
  Mp3JoinSources sources;
  for (const QString& part : parts) {
    sources.push_back(std::make_unique<Mp3FrameSource>(
        part, storedEdgeAudioOf ? storedEdgeAudioOf(part) : QByteArray()));
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
  std::vector<JoinSpan> spans;
  for (const auto& source : sources) spans.push_back({source.get(), 0, source->totalSamples()});
  return writeSeamlessJoin(spans, planSeamlessJoin(spans), outputPath, id3Tag, stopFlag);
}

}  // namespace tarvex::mp3frames
