#include "components/audio/PcmConverter.h"

#include "components/audio/AudioError.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

namespace tarvex {

namespace {

AVChannelLayout layoutFor(int channels) {
  AVChannelLayout layout{};
  av_channel_layout_default(&layout, channels);
  return layout;
}

}  // namespace

PcmConverter::PcmConverter(int inputRate, int inputChannels, int outputRate, int outputChannels)
    : inputRate_(inputRate),
      inputChannels_(inputChannels),
      outputRate_(outputRate),
      outputChannels_(outputChannels) {
  AVChannelLayout in = layoutFor(inputChannels);
  AVChannelLayout out = layoutFor(outputChannels);
  const int result = swr_alloc_set_opts2(&context_, &out, AV_SAMPLE_FMT_FLT, outputRate, &in,
                                         AV_SAMPLE_FMT_FLT, inputRate, 0, nullptr);
  av_channel_layout_uninit(&in);
  av_channel_layout_uninit(&out);
  if (result < 0 || context_ == nullptr || swr_init(context_) < 0) {
    swr_free(&context_);
    throw AudioError(QStringLiteral("Cannot convert audio from %1 Hz, %2 channels to %3 Hz, %4 channels")
                         .arg(inputRate)
                         .arg(inputChannels)
                         .arg(outputRate)
                         .arg(outputChannels));
  }
}

PcmConverter::~PcmConverter() { swr_free(&context_); }

void PcmConverter::run(const float* input, int frames, std::vector<float>& out) {
  const int capacity = swr_get_out_samples(context_, frames) + 16;
  out.resize(static_cast<size_t>(capacity) * outputChannels_);
  auto* target = reinterpret_cast<uint8_t*>(out.data());
  const auto* source = reinterpret_cast<const uint8_t*>(input);
  const int produced = swr_convert(context_, &target, capacity, input == nullptr ? nullptr : &source, frames);
  if (produced < 0) throw AudioError(QStringLiteral("Cannot convert audio: the resampler failed"));
  out.resize(static_cast<size_t>(produced) * outputChannels_);
}

void PcmConverter::convert(const float* input, int frames, std::vector<float>& out) {
  run(input, frames, out);
}

void PcmConverter::flush(std::vector<float>& out) {
  run(nullptr, 0, out);
  // The resampler starts afresh for any data that might follow.
  reset();
}

void PcmConverter::reset() {
  swr_close(context_);
  swr_init(context_);
}

}  // namespace tarvex
