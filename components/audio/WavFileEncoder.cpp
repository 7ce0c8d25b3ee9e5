#include "components/audio/WavFileEncoder.h"

#include "components/audio/AudioError.h"
#include "components/audio/ErrorText.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <sndfile.h>

namespace tarvex {

WavFileEncoder::WavFileEncoder(const QString& fileName, int sampleRate, int channels,
                               int bitsPerSample)
    : fileName_(fileName), sampleRate_(sampleRate), channels_(channels) {
  int subtype = 0;
  switch (bitsPerSample) {
    case 8: subtype = SF_FORMAT_PCM_U8; break;
    case 16: subtype = SF_FORMAT_PCM_16; break;
    case 24: subtype = SF_FORMAT_PCM_24; break;
    case 32: subtype = SF_FORMAT_PCM_32; break;
    default:
      throw AudioError(createError(fileName, QStringLiteral("%1 bits per sample is not a WAV format").arg(bitsPerSample)));
  }
  if (sampleRate <= 0 || channels <= 0 || channels > 8)
    throw AudioError(createError(fileName, QStringLiteral("%1 Hz with %2 channels is not a WAV format").arg(sampleRate).arg(channels)));
  if (QFileInfo(fileName).isDir()) throw AudioError(createError(fileName, QStringLiteral("it is a folder")));
  SF_INFO info{};
  info.samplerate = sampleRate;
  info.channels = channels;
  info.format = SF_FORMAT_WAV | subtype;
  errno = 0;
  file_ = sf_open(QFile::encodeName(fileName).constData(), SFM_WRITE, &info);
  if (file_ == nullptr) {
    const int errorNumber = errno;
    throw AudioError(createError(fileName, errorNumber != 0 ? systemReason(errorNumber)
                                                            : QString::fromUtf8(sf_strerror(nullptr))));
  }
  sf_command(file_, SFC_SET_CLIPPING, nullptr, SF_TRUE);
}

WavFileEncoder::~WavFileEncoder() {
  if (file_ != nullptr) sf_close(file_);
}

void WavFileEncoder::write(const float* interleaved, int frames) {
  errno = 0;
  if (sf_writef_float(file_, interleaved, frames) != frames) {
    const int errorNumber = errno;
    throw AudioError(writeError(fileName_, errorNumber != 0 ? systemReason(errorNumber)
                                                            : QString::fromUtf8(sf_strerror(file_))));
  }
}

void WavFileEncoder::finish() {
  SNDFILE* file = file_;
  file_ = nullptr;
  if (sf_close(file) != 0) throw AudioError(writeError(fileName_, QStringLiteral("the file could not be completed")));
}

}  // namespace tarvex
