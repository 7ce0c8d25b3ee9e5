#include "components/audio/Mp3FileEncoder.h"

#include "components/audio/AudioError.h"
#include "components/audio/ErrorText.h"
#include "components/audio/LameSettings.h"
#include "components/audio/LameSetupLock.h"
#include "components/audio/mp3frames/EncoderHeaderFrame.h"
#include "components/audio/mp3frames/MpegCrc16.h"

#include <QFile>

#include <algorithm>

namespace tarvex {

namespace {
constexpr int kChunkFrames = 8192;
size_t encodedBound(int frames) {
  return static_cast<size_t>(frames) * 5 / 4 + 7200;
}
}  // namespace

Mp3FileEncoder::Mp3FileEncoder(const QString& fileName, const Mp3LameEncoder& settings,
                               int inputRate, int inputChannels)
    : file_(fileName), inputRate_(inputRate), inputChannels_(std::clamp(inputChannels, 1, 2)) {
  const std::lock_guard setup(lameSetupMutex());
  lame_ = lame_init();
  if (lame_ == nullptr) throw AudioError(createError(fileName, QStringLiteral("out of memory")));
  try {
    applyLameSettings(lame_, settings, inputRate_, inputChannels_);
  } catch (...) {
    lame_close(lame_);
    lame_ = nullptr;
    throw;
  }
  if (inputChannels_ == 1 && lame_get_mode(lame_) != MONO) {
    lame_set_num_channels(lame_, 2);
    duplicateMono_ = true;
  }
  if (lame_init_params(lame_) < 0) {
    lame_close(lame_);
    lame_ = nullptr;
    throw AudioError(
        createError(fileName, QStringLiteral("the MP3 encoder cannot take these settings")));
  }
  headerFrame_ = lame_get_bWriteVbrTag(lame_) != 0;
  encoded_.resize(encodedBound(kChunkFrames));
  if (headerFrame_ && mp3frames::lameLeavesOutHeaderFrame(lame_)) {
    ownHeaderBytes_ = mp3frames::encoderHeaderFrameBytes(lame_);
    const std::vector<unsigned char> room(ownHeaderBytes_, 0);
    file_.write(room.data(), room.size());
  }
}

Mp3FileEncoder::~Mp3FileEncoder() {
  if (lame_ != nullptr) lame_close(lame_);
}

void Mp3FileEncoder::writeEncoded(int bytes) {
  if (bytes < 0)
    throw AudioError(
        writeError(file_.fileName(), QStringLiteral("the MP3 encoder failed (%1)").arg(bytes)));
  const auto size = static_cast<size_t>(bytes);
  for (size_t i = 0; i < size && audioBytes_ + i < sizeof firstFrameHeader_; ++i)
    firstFrameHeader_[audioBytes_ + i] = encoded_[i];
  if (headerFrame_) musicCrc_ = mp3frames::lameCrc(encoded_.data(), size, musicCrc_);
  audioBytes_ += size;
  file_.write(encoded_.data(), size);
}

void Mp3FileEncoder::writeOwnHeaderFrame(size_t lameHeaderBytes) {
  const auto first =
      mp3frames::MpegFrameHeader::decode(mp3frames::readBigEndian32(firstFrameHeader_));
  // Should libmp3lame have kept room for its own frame after all, that empty
  // frame stays as one silent frame counted in the delay.
  const std::vector<unsigned char> frame =
      mp3frames::encoderHeaderFrame(lame_, first ? *first : mp3frames::encoderStreamHeader(lame_),
                                    audioBytes_, musicCrc_, lameHeaderBytes > 0 ? 1 : 0);
  if (frame.size() == ownHeaderBytes_) file_.writeAt(0, frame.data(), frame.size());
}

// The rare case of libmp3lame leaving its frame out against its own rule:
// the whole file moves up behind our header frame.
void Mp3FileEncoder::prependOwnHeaderFrame() {
  const auto first =
      mp3frames::MpegFrameHeader::decode(mp3frames::readBigEndian32(firstFrameHeader_));
  if (!first) return;
  const std::vector<unsigned char> frame =
      mp3frames::encoderHeaderFrame(lame_, *first, audioBytes_, musicCrc_);
  QFile file(file_.fileName());
  if (!file.open(QIODevice::ReadWrite))
    throw AudioError(writeError(file_.fileName(), file.errorString().toLower()));
  const QByteArray audio = file.readAll();
  file.seek(0);
  if (file.write(reinterpret_cast<const char*>(frame.data()), static_cast<qint64>(frame.size())) !=
          static_cast<qint64>(frame.size()) ||
      file.write(audio) != audio.size() || !file.flush())
    throw AudioError(writeError(file_.fileName(), file.errorString().toLower()));
}

void Mp3FileEncoder::write(const float* interleaved, int frames) {
  while (frames > 0) {
    const int chunk = std::min(frames, kChunkFrames);
    const int capacity = static_cast<int>(encoded_.size());
    int bytes;
    if (duplicateMono_) {
      bytes = lame_encode_buffer_ieee_float(lame_, interleaved, interleaved, chunk, encoded_.data(),
                                            capacity);
    } else if (inputChannels_ == 1) {
      bytes = lame_encode_buffer_ieee_float(lame_, interleaved, nullptr, chunk, encoded_.data(),
                                            capacity);
    } else {
      bytes = lame_encode_buffer_interleaved_ieee_float(lame_, interleaved, chunk, encoded_.data(),
                                                        capacity);
    }
    writeEncoded(bytes);
    interleaved += static_cast<size_t>(chunk) * inputChannels_;
    frames -= chunk;
  }
}

void Mp3FileEncoder::finish() {
  writeEncoded(lame_encode_flush(lame_, encoded_.data(), static_cast<int>(encoded_.size())));
  if (!headerFrame_) {
    file_.close();
    return;
  }
  const size_t size = lame_get_lametag_frame(lame_, encoded_.data(), encoded_.size());
  const bool lameFrame = size > 0 && size <= encoded_.size();
  if (ownHeaderBytes_ > 0) {
    writeOwnHeaderFrame(lameFrame ? size : 0);
  } else if (lameFrame) {
    file_.writeAt(0, encoded_.data(), size);
  }
  file_.close();
  if (ownHeaderBytes_ == 0 && !lameFrame) prependOwnHeaderFrame();
}

}  // namespace tarvex
