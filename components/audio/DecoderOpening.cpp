#include "components/audio/DecoderOpening.h"

#include <QFileInfo>

#include "components/audio/AudioError.h"
#include "components/audio/FfmpegDecoder.h"
#include "components/audio/Mpg123Decoder.h"
#include "components/audio/VorbisFileDecoder.h"

namespace tarvex {

namespace {

bool isMpegAudioName(const QString& fileName) {
  const QString suffix = QFileInfo(fileName).suffix().toLower();
  return suffix == QLatin1String("mp3") || suffix == QLatin1String("mp2") ||
         suffix == QLatin1String("mp1") || suffix == QLatin1String("mpa") ||
         suffix == QLatin1String("mpga");
}

bool isOggName(const QString& fileName) {
  const QString suffix = QFileInfo(fileName).suffix().toLower();
  return suffix == QLatin1String("ogg") || suffix == QLatin1String("oga");
}

// Opens with the decoder made for the file's kind (`open` gives nullptr when
// the file is not of that kind after all). When that decoder fails on a file
// that is there, the general decoder may still get the audio out (a file
// named .mp3 that holds WAV or AAC, a damaged Vorbis stream); when it cannot
// either, the first decoder's reason stands.
template <typename Open>
std::unique_ptr<AudioDecoder> openPreferring(const QString& fileName, int64_t knownFrames,
                                             Open open) {
  try {
    if (std::unique_ptr<AudioDecoder> decoder = open()) return decoder;
  } catch (const AudioError&) {
    const QFileInfo info(fileName);
    if (!info.exists() || info.size() == 0) throw;
    try {
      return std::make_unique<FfmpegDecoder>(fileName, knownFrames);
    } catch (const AudioError&) {
    }
    throw;
  }
  return std::make_unique<FfmpegDecoder>(fileName, knownFrames);
}

}  // namespace

std::unique_ptr<AudioDecoder> openDecoder(const QString& fileName, int64_t knownFrames) {
  if (isOggName(fileName))
    return openPreferring(fileName, knownFrames,
                          [&] { return VorbisFileDecoder::tryOpen(fileName); });
  if (isMpegAudioName(fileName)) {
    return openPreferring(fileName, knownFrames,
                          [&] { return std::make_unique<Mpg123Decoder>(fileName, knownFrames); });
  }
  return std::make_unique<FfmpegDecoder>(fileName, knownFrames);
}

}  // namespace tarvex
