#include "components/audio/WavFileEncoder.h"

#include "components/audio/AudioError.h"
#include "components/audio/ErrorText.h"

#include <QFile>
#include <QFileInfo>

#include <sndfile.h>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>

namespace tarvex {

int32_t pcmInteger(float value, int bits) {
  const double full = std::ldexp(1.0, bits - 1);
  const double scaled = static_cast<double>(value) * full;
  if (std::isnan(scaled)) return 0;
  return static_cast<int32_t>(std::nearbyint(std::clamp(scaled, -full, full - 1.0)));
}

WavFileEncoder::WavFileEncoder(const QString& fileName, int sampleRate, int channels,
                               int bitsPerSample)
    : fileName_(fileName), sampleRate_(sampleRate), channels_(channels) {
  int subtype = 0;
  switch (bitsPerSample) {
    case 8:
      subtype = SF_FORMAT_PCM_U8;
      break;
    case 16:
      subtype = SF_FORMAT_PCM_16;
      break;
    case 24:
      subtype = SF_FORMAT_PCM_24;
      break;
    case 32:
      subtype = SF_FORMAT_PCM_32;
      break;
    default:
      throw AudioError(createError(
          fileName, QStringLiteral("%1 bits per sample is not a WAV format").arg(bitsPerSample)));
  }
  if (sampleRate <= 0 || channels <= 0 || channels > 8)
    throw AudioError(
        createError(fileName, QStringLiteral("%1 Hz with %2 channels is not a WAV format")
                                  .arg(sampleRate)
                                  .arg(channels)));
  if (QFileInfo(fileName).isDir())
    throw AudioError(createError(fileName, QStringLiteral("it is a folder")));
  SF_INFO info{};
  info.samplerate = sampleRate;
  info.channels = channels;
  info.format = SF_FORMAT_WAV | subtype;
  errno = 0;
  bits_ = bitsPerSample;
  file_ = sf_open(QFile::encodeName(fileName).constData(), SFM_WRITE, &info);
  if (file_ == nullptr) {
    const int errorNumber = errno;
    throw AudioError(createError(fileName, errorNumber != 0
                                               ? systemReason(errorNumber)
                                               : QString::fromUtf8(sf_strerror(nullptr))));
  }
}

WavFileEncoder::~WavFileEncoder() {
  if (file_ != nullptr) sf_close(file_);
}

void WavFileEncoder::write(const float* interleaved, int frames) {
  const size_t count = static_cast<size_t>(frames) * static_cast<size_t>(channels_);
  integers_.resize(count);
  // libsndfile takes the values as the top bits of 32-bit integers and keeps
  // as many as the format holds, so each value is placed there exactly.
  const int shift = 32 - bits_;
  for (size_t i = 0; i < count; ++i) {
    integers_[i] =
        static_cast<int>(static_cast<uint32_t>(pcmInteger(interleaved[i], bits_)) << shift);
  }
  errno = 0;
  if (sf_writef_int(file_, integers_.data(), frames) != frames) {
    const int errorNumber = errno;
    throw AudioError(writeError(fileName_, errorNumber != 0
                                               ? systemReason(errorNumber)
                                               : QString::fromUtf8(sf_strerror(file_))));
  }
}

void WavFileEncoder::finish() {
  SNDFILE* file = file_;
  file_ = nullptr;
  if (sf_close(file) != 0)
    throw AudioError(writeError(fileName_, QStringLiteral("the file could not be completed")));
}

}  // namespace tarvex
