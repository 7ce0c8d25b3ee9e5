#include "components/audio/mp3frames/SourcePcm.h"

#include "components/audio/AudioError.h"
#include "components/audio/ErrorText.h"
#include "components/audio/mp3frames/EdgeAudio.h"

#include <mpg123.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <mutex>

namespace tarvex::mp3frames {

namespace {

// Raw samples before the span whose decoding must already be right: the
// granule whose overlap the span's first granule adds, and the synthesis
// filterbank's memory before that.
constexpr int64_t kSettleSamples = 576 + 512;
// More frames than any reservoir can reach back over (511 bytes in areas of
// at least a few dozen bytes); a damaged index never sends the decoding
// back to the start of a long file for every span.
constexpr int64_t kMostLeadInFrames = 32;

struct HandleDeleter {
  void operator()(mpg123_handle* handle) const { mpg123_delete(handle); }
};

void initialiseOnce() {
  static std::once_flag once;
  std::call_once(once, [] { mpg123_init(); });
}

}  // namespace

int64_t firstFedFrame(const MpegFrameHeader& like, int64_t firstWanted,
                      const std::function<int(int64_t)>& areaBytes) {
  const int perFrame = like.samplesPerFrame();
  int64_t first =
      std::max<int64_t>(0, firstWanted - (kSettleSamples + perFrame - 1) / perFrame - 1);
  const int reach = like.version == MpegFrameHeader::Version::Mpeg1 ? 511 : 255;
  int bytes = 0;
  while (first > 0 && bytes < reach && firstWanted - first < kMostLeadInFrames) {
    --first;
    bytes += areaBytes(first);
  }
  return first;
}

std::vector<float> decodeFrameBytes(const unsigned char* data, size_t size, int64_t firstPosition,
                                    const MpegFrameHeader& like, int64_t rawBegin, int64_t rawEnd,
                                    const QString& fileName) {
  const int channels = like.channels();
  const int perFrame = like.samplesPerFrame();
  std::vector<float> span(static_cast<size_t>(std::max<int64_t>(rawEnd - rawBegin, 0)) * channels,
                          0.0f);
  if (size == 0 || rawEnd <= rawBegin) return span;

  initialiseOnce();
  int error = MPG123_OK;
  std::unique_ptr<mpg123_handle, HandleDeleter> handle(mpg123_new(nullptr, &error));
  if (!handle)
    throw AudioError(readError(fileName, QString::fromUtf8(mpg123_plain_strerror(error))));
  mpg123_param(handle.get(), MPG123_FLAGS, MPG123_QUIET | MPG123_FORCE_FLOAT, 0.0);
  // Every format is allowed, so that a damaged stream whose frames change
  // rate or channels is not refused by the library (which then complains on
  // the terminal); such a change ends the decoding here instead.
  mpg123_format_none(handle.get());
  const long* rates = nullptr;
  size_t rateCount = 0;
  mpg123_rates(&rates, &rateCount);
  for (size_t i = 0; i < rateCount; ++i)
    mpg123_format(handle.get(), rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_FLOAT_32);
  if (mpg123_open_feed(handle.get()) != MPG123_OK ||
      mpg123_feed(handle.get(), data, size) != MPG123_OK)
    throw AudioError(readError(fileName, QString::fromUtf8(mpg123_strerror(handle.get()))));

  // Decoded frames follow one another from firstPosition; each is kept
  // where it overlaps the span.
  std::vector<float> block(static_cast<size_t>(perFrame) * channels * 4);
  int64_t position = firstPosition;
  for (;;) {
    size_t bytes = 0;
    const int result =
        mpg123_read(handle.get(), block.data(), block.size() * sizeof(float), &bytes);
    const auto count = static_cast<int64_t>(bytes / sizeof(float) / channels);
    const int64_t from = std::max(position, rawBegin);
    const int64_t to = std::min(position + count, rawEnd);
    if (from < to)
      std::copy(block.begin() + (from - position) * channels,
                block.begin() + (to - position) * channels,
                span.begin() + (from - rawBegin) * channels);
    position += count;
    if (result == MPG123_NEW_FORMAT) {
      long rate = 0;
      int formatChannels = 0;
      int encoding = 0;
      mpg123_getformat(handle.get(), &rate, &formatChannels, &encoding);
      if (rate != like.sampleRate() || formatChannels != channels) break;
      continue;
    }
    if (result != MPG123_OK || bytes == 0) break;
  }
  return span;
}

std::vector<float> decodeRawSpan(const Mp3FrameSource& source, int64_t rawBegin, int64_t rawEnd) {
  const int perFrame = source.samplesPerFrame();
  const std::vector<FrameEntry>& frames = source.frames();
  const auto frameCount = static_cast<int64_t>(frames.size());
  const int64_t firstWanted = std::clamp<int64_t>(rawBegin / perFrame, 0, frameCount);
  const int64_t endWanted =
      std::clamp<int64_t>((std::max(rawEnd, int64_t{0}) + perFrame - 1) / perFrame, 0, frameCount);
  const unsigned char* begin = nullptr;
  size_t size = 0;
  int64_t firstFed = 0;
  if (firstWanted < endWanted) {
    firstFed = firstFedFrame(source.firstHeader(), firstWanted, [&frames](int64_t index) {
      return frames[static_cast<size_t>(index)].areaBytes();
    });
    const FrameEntry& last = frames[static_cast<size_t>(endWanted - 1)];
    begin = source.bytes() + frames[static_cast<size_t>(firstFed)].offset;
    size = static_cast<size_t>(source.bytes() + last.offset + last.bytes - begin);
  }
  std::vector<float> span = decodeFrameBytes(begin, size, firstFed * perFrame, source.firstHeader(),
                                             rawBegin, rawEnd, source.fileName());
  addEdgeAudio(source.edgeAudio(), rawBegin, span);
  return span;
}

}  // namespace tarvex::mp3frames
