#include "components/audio/VorbisFileDecoder.h"

#include <QFile>
#include <QFileInfo>

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <vector>

#include "components/audio/AudioError.h"
#include "components/audio/ErrorText.h"
#include "components/audio/PcmLimits.h"

namespace tarvex {

namespace {

// A Vorbis packet holds at least one byte and gives at most 4096 new frames,
// so a recorded length beyond that many frames per byte of file is a lie.
constexpr int64_t kMaxFramesPerByte = 4096;

QString vorbisReason(int code) {
  switch (code) {
    case OV_EREAD:
      return QStringLiteral("the file cannot be read");
    case OV_EVERSION:
      return QStringLiteral("unsupported Vorbis version");
    case OV_EBADHEADER:
      return QStringLiteral("damaged Vorbis header");
    case OV_EFAULT:
    default:
      return QStringLiteral("damaged Ogg Vorbis file");
  }
}

}  // namespace

struct VorbisFileDecoder::Stream {
  OggVorbis_File file{};
  bool open = false;
  ~Stream() {
    if (open) ov_clear(&file);
  }
};

std::unique_ptr<VorbisFileDecoder> VorbisFileDecoder::tryOpen(const QString& fileName) {
  std::unique_ptr<VorbisFileDecoder> decoder(new VorbisFileDecoder(fileName));
  if (!decoder->stream_) return nullptr;
  return decoder;
}

VorbisFileDecoder::VorbisFileDecoder(const QString& fileName) : fileName_(fileName) {
  const QFileInfo info(fileName);
  if (!info.exists()) throw AudioError(openError(fileName, QStringLiteral("file not found")));
  if (info.isDir()) throw AudioError(openError(fileName, QStringLiteral("it is a folder")));
  if (info.size() == 0) throw AudioError(openError(fileName, QStringLiteral("the file is empty")));

  auto stream = std::make_unique<Stream>();
  const int result = ov_fopen(QFile::encodeName(fileName).constData(), &stream->file);
  if (result == OV_ENOTVORBIS) return;  // left to another decoder
  if (result != 0) throw AudioError(openError(fileName, vorbisReason(result)));
  stream->open = true;

  const vorbis_info* first = ov_info(&stream->file, 0);
  if (first == nullptr) throw AudioError(openError(fileName, vorbisReason(OV_EBADHEADER)));
  sampleRate_ = static_cast<int>(first->rate);
  channels_ = first->channels;
  if (!isPcmFormatSupported(sampleRate_, channels_)) {
    throw AudioError(openError(fileName, QStringLiteral("unsupported sample format (%1 Hz, %2 "
                                                        "channels)")
                                             .arg(sampleRate_)
                                             .arg(channels_)));
  }
  // Chained streams of other formats are not read past the first: leave the
  // whole file to the decoder that ends at the change.
  for (long link = 1; link < ov_streams(&stream->file); ++link) {
    const vorbis_info* next = ov_info(&stream->file, static_cast<int>(link));
    if (next == nullptr || next->rate != first->rate || next->channels != first->channels) return;
  }
  const int64_t total = ov_seekable(&stream->file) ? ov_pcm_total(&stream->file, -1) : -1;
  if (total <= 0 || total > info.size() * kMaxFramesPerByte) return;
  frameCount_ = total;
  stream_ = std::move(stream);
}

VorbisFileDecoder::~VorbisFileDecoder() = default;

void VorbisFileDecoder::seek(int64_t frame) {
  frame = std::clamp<int64_t>(frame, 0, frameCount_);
  ended_ = false;
  if (ov_pcm_seek(&stream_->file, frame) == 0) {
    position_ = frame;
    return;
  }
  // A damaged file may not seek by page: read forward from the start.
  if (ov_raw_seek(&stream_->file, 0) != 0) {
    throw AudioError(readError(fileName_, QStringLiteral("the file cannot be positioned")));
  }
  position_ = 0;
  skipTo(frame);
}

void VorbisFileDecoder::skipTo(int64_t frame) {
  std::vector<float> discard(static_cast<size_t>(4096) * channels_);
  while (position_ < frame && !ended_) {
    const int want = static_cast<int>(std::min<int64_t>(4096, frame - position_));
    if (read(discard.data(), want) == 0) break;
  }
}

int VorbisFileDecoder::read(float* out, int frames) {
  int delivered = 0;
  while (delivered < frames && !ended_) {
    float** pcm = nullptr;
    int link = 0;
    const long got = ov_read_float(&stream_->file, &pcm, frames - delivered, &link);
    if (got == OV_HOLE) continue;  // a damaged stretch was skipped; go on after it
    if (got <= 0) {
      ended_ = true;  // the end, or data that cannot be decoded
      break;
    }
    const vorbis_info* info = ov_info(&stream_->file, link);
    if (info == nullptr || info->channels != channels_ || info->rate != sampleRate_) {
      ended_ = true;
      break;
    }
    for (long i = 0; i < got; ++i) {
      for (int c = 0; c < channels_; ++c) {
        out[(static_cast<size_t>(delivered) + static_cast<size_t>(i)) * channels_ + c] = pcm[c][i];
      }
    }
    delivered += static_cast<int>(got);
  }
  position_ += delivered;
  return delivered;
}

}  // namespace tarvex
