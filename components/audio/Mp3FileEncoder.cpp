#include "components/audio/Mp3FileEncoder.h"

#include "components/audio/AudioError.h"
#include "components/audio/ErrorText.h"
#include "components/audio/LameSettings.h"

#include <algorithm>
#include <mutex>

namespace tarvex {

namespace {
constexpr int kChunkFrames = 8192;
size_t encodedBound(int frames) {
  return static_cast<size_t>(frames) * 5 / 4 + 7200;
}
// libmp3lame fills tables shared by every encoder the first time one is set
// up, without a lock of its own; encoders set up on several threads at once
// take turns here. Encoding itself touches only the encoder's own state.
std::mutex& lameSetupMutex() {
  static std::mutex mutex;
  return mutex;
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
}

Mp3FileEncoder::~Mp3FileEncoder() {
  if (lame_ != nullptr) lame_close(lame_);
}

void Mp3FileEncoder::writeEncoded(int bytes) {
  if (bytes < 0)
    throw AudioError(
        writeError(file_.fileName(), QStringLiteral("the MP3 encoder failed (%1)").arg(bytes)));
  file_.write(encoded_.data(), static_cast<size_t>(bytes));
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
  if (headerFrame_) {
    const size_t size = lame_get_lametag_frame(lame_, encoded_.data(), encoded_.size());
    if (size > 0 && size <= encoded_.size()) file_.writeAt(0, encoded_.data(), size);
  }
  file_.close();
}

}  // namespace tarvex
