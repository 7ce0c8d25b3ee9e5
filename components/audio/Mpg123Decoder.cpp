#include "components/audio/Mpg123Decoder.h"

#include "components/audio/AudioError.h"
#include "components/audio/ErrorText.h"
#include "components/audio/XingHeader.h"

#include <QFile>

#include <mpg123.h>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <mutex>

namespace tarvex {

namespace {

void initialiseLibraryOnce() {
  static std::once_flag once;
  std::call_once(once, [] { mpg123_init(); });
}

// Frames mpg123 must find before a file counts as MPEG audio: random bytes
// can hold a plausible frame header or two by chance.
constexpr int64_t kMinimumMpegFrames = 2;

// libmpg123 reads a file it opens itself frame by frame, one system call per
// header and per frame body; a long file's length scan and decode then spend
// much of their time in the kernel. It reads through a buffered stream instead.
constexpr size_t kReadBufferBytes = 1 << 16;

std::FILE* openBuffered(const QString& fileName) {
#ifdef _WIN32
  std::FILE* file = _wfopen(reinterpret_cast<const wchar_t*>(fileName.utf16()), L"rb");
#else
  std::FILE* file = std::fopen(QFile::encodeName(fileName).constData(), "rb");
#endif
  if (file != nullptr) std::setvbuf(file, nullptr, _IOFBF, kReadBufferBytes);
  return file;
}

mpg123_ssize_t readBuffered(void* handle, void* buffer, size_t bytes) {
  auto* file = static_cast<std::FILE*>(handle);
  const size_t got = std::fread(buffer, 1, bytes, file);
  if (got == 0 && std::ferror(file)) return -1;
  return static_cast<mpg123_ssize_t>(got);
}

off_t seekBuffered(void* handle, off_t offset, int whence) {
  auto* file = static_cast<std::FILE*>(handle);
#ifdef _WIN32
  if (_fseeki64(file, offset, whence) != 0) return -1;
  return static_cast<off_t>(_ftelli64(file));
#else
  if (fseeko(file, offset, whence) != 0) return -1;
  return ftello(file);
#endif
}

}  // namespace

Mpg123Decoder::Mpg123Decoder(const QString& fileName, int64_t knownFrames) : fileName_(fileName) {
  initialiseLibraryOnce();
  QFile probe(fileName);
  if (!probe.exists()) fail(QStringLiteral("file not found"));
  if (!probe.open(QIODevice::ReadOnly)) fail(probe.errorString().toLower());
  if (probe.size() == 0) fail(QStringLiteral("the file is empty"));
  probe.close();

  try {
    openStream(knownFrames);
  } catch (...) {
    // The destructor does not run for an object whose constructor threw.
    releaseHandle();
    throw;
  }
}

void Mpg123Decoder::openStream(int64_t knownFrames) {
  openHandle();
  // The exact length: the one the caller measured before, else the Info/Xing
  // header's frame count when its byte count agrees with the file, else a
  // scan of every frame.
  const bool trusted = knownFrames > 0 || hasTrustworthyXingHeader(fileName_);
  const int64_t length = trusted ? mpg123_length(handle_) : scannedLength();
  const off_t mpegFrames = mpg123_framelength(handle_);
  mpg123_frameinfo info{};
  // Without a scan the frame count is an estimate from the first frames; one
  // frame found is enough there (the probe counted them all before).
  const off_t minimumFrames = knownFrames > 0 ? 1 : kMinimumMpegFrames;
  if (mpegFrames < minimumFrames || length <= 0 || mpg123_info(handle_, &info) != MPG123_OK)
    fail(QStringLiteral("not an audio file"));
  frameCount_ = knownFrames > 0 ? knownFrames : length;
  seek(0);
}

void Mpg123Decoder::openHandle() {
  int error = MPG123_OK;
  handle_ = mpg123_new(nullptr, &error);
  if (handle_ == nullptr) fail(QString::fromUtf8(mpg123_plain_strerror(error)));
  // A stream whose frames change layer, MPEG version or rate part-way is not
  // followed past the change: this libmpg123 sizes its output buffer from the
  // first frames, and decoding a larger frame of another layer into it writes
  // past its end (found by fuzzing, seen under valgrind).
  mpg123_param(handle_, MPG123_FLAGS,
               MPG123_GAPLESS | MPG123_QUIET | MPG123_FORCE_FLOAT | MPG123_NO_FRANKENSTEIN, 0.0);
  mpg123_param(handle_, MPG123_RESYNC_LIMIT, 16384, 0.0);
  mpg123_format_none(handle_);
  const long* rates = nullptr;
  size_t rateCount = 0;
  mpg123_rates(&rates, &rateCount);
  for (size_t i = 0; i < rateCount; ++i)
    mpg123_format(handle_, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_FLOAT_32);

  errno = 0;
  file_ = openBuffered(fileName_);
  if (file_ == nullptr) fail(systemReason(errno != 0 ? errno : EIO));
  if (mpg123_replace_reader_handle(handle_, readBuffered, seekBuffered, nullptr) != MPG123_OK ||
      mpg123_open_handle(handle_, file_) != MPG123_OK)
    fail(QString::fromUtf8(mpg123_strerror(handle_)));
  long rate = 0;
  int channelCount = 0;
  int encoding = 0;
  if (mpg123_getformat(handle_, &rate, &channelCount, &encoding) != MPG123_OK)
    fail(QStringLiteral("not an audio file"));
  sampleRate_ = static_cast<int>(rate);
  channels_ = channelCount;
  // Keep the first frame's format for the whole stream, so a stream that
  // switches between mono and stereo still fills blocks of one layout.
  mpg123_format_none(handle_);
  mpg123_format(handle_, rate, channels_ == 1 ? MPG123_MONO : MPG123_STEREO, MPG123_ENC_FLOAT_32);
}

int64_t Mpg123Decoder::scannedLength() {
  if (mpg123_scan(handle_) != MPG123_OK) fail(QStringLiteral("not an audio file"));
  const int64_t length = mpg123_length(handle_);
  const int64_t mpegFrames = mpg123_framelength(handle_);
  if (mpegFrames < kMinimumMpegFrames) fail(QStringLiteral("not an audio file"));
  long encoderDelay = -1;
  long decoderDelay = -1;
  mpg123_getstate(handle_, MPG123_ENC_DELAY, &encoderDelay, nullptr);
  mpg123_getstate(handle_, MPG123_DEC_DELAY, &decoderDelay, nullptr);
  // When the scan finds fewer frames than a LAME header counts (a file cut
  // short), libmpg123 drops the header's whole trim, the delay at the start
  // included, and the handle would read the encoder's lead-in as audio. The
  // scan's raw length then stands less that delay, and the audio is read
  // through a fresh handle, whose start trim is intact. Nothing comes off
  // the end: the padding the header records sat in frames that are gone.
  const bool trimDropped =
      encoderDelay >= 0 && decoderDelay >= 0 && length == mpegFrames * mpg123_spf(handle_);
  if (!trimDropped) return length;
  releaseHandle();
  openHandle();
  return length - encoderDelay - decoderDelay;
}

Mpg123Decoder::~Mpg123Decoder() {
  releaseHandle();
}

void Mpg123Decoder::releaseHandle() {
  if (handle_ != nullptr) {
    mpg123_close(handle_);
    mpg123_delete(handle_);
    handle_ = nullptr;
  }
  // Closed after the handle that reads from it.
  if (file_ != nullptr) {
    std::fclose(file_);
    file_ = nullptr;
  }
}

void Mpg123Decoder::fail(const QString& reason) const {
  throw AudioError(openError(fileName_, reason));
}

void Mpg123Decoder::seek(int64_t frame) {
  frame = std::clamp<int64_t>(frame, 0, frameCount_);
  const off_t reached = mpg123_seek(handle_, static_cast<off_t>(frame), SEEK_SET);
  if (reached < 0)
    throw AudioError(readError(fileName_, QString::fromUtf8(mpg123_strerror(handle_))));
  position_ = reached;
  ended_ = false;
}

int Mpg123Decoder::read(float* out, int frames) {
  if (frames <= 0 || ended_) return 0;
  const size_t frameBytes = sizeof(float) * static_cast<size_t>(channels_);
  size_t wanted = frameBytes * static_cast<size_t>(frames);
  auto* target = reinterpret_cast<unsigned char*>(out);
  size_t total = 0;
  while (total < wanted) {
    size_t done = 0;
    const int result = mpg123_read(handle_, target + total, wanted - total, &done);
    total += done;
    if (result == MPG123_DONE) {
      ended_ = true;
      break;
    }
    if (result == MPG123_NEW_FORMAT) continue;
    if (result != MPG123_OK) {
      // A damaged stretch: mpg123 resyncs by itself where it can; a hard
      // error ends the data here, keeping what was decoded.
      ended_ = true;
      break;
    }
    if (done == 0) {
      ended_ = true;
      break;
    }
  }
  const int delivered = static_cast<int>(total / frameBytes);
  position_ += delivered;
  return delivered;
}

}  // namespace tarvex
