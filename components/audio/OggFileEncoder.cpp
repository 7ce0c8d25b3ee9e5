#include "components/audio/OggFileEncoder.h"

#include "components/audio/AudioError.h"
#include "components/audio/ErrorText.h"

#include <vorbis/vorbisenc.h>

#include <QRandomGenerator>

#include <algorithm>

namespace tarvex {

namespace {

long bitsPerSecondOrNone(int kbps) { return kbps > 0 ? static_cast<long>(kbps) * 1000 : -1; }

int setUpManaged(vorbis_info* info, int sampleRate, int channels, int bitrateKbps, int minKbps,
                 int maxKbps) {
  int result = vorbis_encode_setup_managed(info, channels, sampleRate, bitsPerSecondOrNone(maxKbps),
                                           bitsPerSecondOrNone(bitrateKbps),
                                           bitsPerSecondOrNone(minKbps));
  if (result == 0) result = vorbis_encode_setup_init(info);
  return result;
}

}  // namespace

bool OggFileEncoder::canEncodeManaged(int sampleRate, int channels, int bitrateKbps, int minKbps,
                                      int maxKbps) {
  if (sampleRate <= 0 || channels <= 0 || channels > 255) return false;
  vorbis_info info;
  vorbis_info_init(&info);
  const int result = setUpManaged(&info, sampleRate, channels, bitrateKbps, minKbps, maxKbps);
  vorbis_info_clear(&info);
  return result == 0;
}

OggFileEncoder::OggFileEncoder(const QString& fileName, const OggFormat& format)
    : file_(fileName), format_(format) {
  vorbis_info_init(&info_);
  int result;
  if (format.quality == -1) {
    result = setUpManaged(&info_, format.sampleRate, format.channels, format.bitrateKbps,
                          format.minKbps, format.maxKbps);
  } else {
    const float quality = std::clamp(static_cast<float>(format.quality) / 1000.0f, -0.1f, 1.0f);
    result = vorbis_encode_init_vbr(&info_, format.channels, format.sampleRate, quality);
  }
  if (result != 0) {
    vorbis_info_clear(&info_);
    throw AudioError(createError(fileName, QStringLiteral("the Ogg Vorbis encoder cannot take %1 Hz, %2 channels at these bitrates")
                                               .arg(format.sampleRate)
                                               .arg(format.channels)));
  }
  vorbis_comment_init(&comment_);
  vorbis_analysis_init(&dsp_, &info_);
  vorbis_block_init(&dsp_, &block_);
  ogg_stream_init(&stream_, static_cast<int>(QRandomGenerator::global()->bounded(1 << 30)));
  started_ = true;

  ogg_packet identification, comments, codebooks;
  vorbis_analysis_headerout(&dsp_, &comment_, &identification, &comments, &codebooks);
  ogg_stream_packetin(&stream_, &identification);
  ogg_stream_packetin(&stream_, &comments);
  ogg_stream_packetin(&stream_, &codebooks);
  ogg_page page;
  while (ogg_stream_flush(&stream_, &page) != 0) {
    file_.write(page.header, static_cast<size_t>(page.header_len));
    file_.write(page.body, static_cast<size_t>(page.body_len));
  }
}

OggFileEncoder::~OggFileEncoder() {
  if (started_) {
    ogg_stream_clear(&stream_);
    vorbis_block_clear(&block_);
    vorbis_dsp_clear(&dsp_);
    vorbis_comment_clear(&comment_);
    vorbis_info_clear(&info_);
  }
}

void OggFileEncoder::drain(bool flushPages) {
  ogg_packet packet;
  ogg_page page;
  while (vorbis_analysis_blockout(&dsp_, &block_) == 1) {
    vorbis_analysis(&block_, nullptr);
    vorbis_bitrate_addblock(&block_);
    while (vorbis_bitrate_flushpacket(&dsp_, &packet) != 0) {
      ogg_stream_packetin(&stream_, &packet);
      while (ogg_stream_pageout(&stream_, &page) != 0) {
        file_.write(page.header, static_cast<size_t>(page.header_len));
        file_.write(page.body, static_cast<size_t>(page.body_len));
      }
    }
  }
  if (flushPages) {
    while (ogg_stream_flush(&stream_, &page) != 0) {
      file_.write(page.header, static_cast<size_t>(page.header_len));
      file_.write(page.body, static_cast<size_t>(page.body_len));
    }
  }
}

void OggFileEncoder::write(const float* interleaved, int frames) {
  constexpr int kChunk = 4096;
  const int channelCount = format_.channels;
  while (frames > 0) {
    const int chunk = std::min(frames, kChunk);
    float** buffer = vorbis_analysis_buffer(&dsp_, chunk);
    for (int i = 0; i < chunk; ++i)
      for (int c = 0; c < channelCount; ++c)
        buffer[c][i] = interleaved[static_cast<size_t>(i) * channelCount + c];
    vorbis_analysis_wrote(&dsp_, chunk);
    drain(false);
    interleaved += static_cast<size_t>(chunk) * channelCount;
    frames -= chunk;
  }
}

void OggFileEncoder::finish() {
  vorbis_analysis_wrote(&dsp_, 0);
  drain(true);
  file_.close();
}

}  // namespace tarvex
