// Measures the audio components against the libraries they wrap, on a
// generated 10-minute 44.1 kHz stereo MP3 (128 kbit/s CBR, quality 5):
// decode only, encode only, and decode+encode, each through our reader and
// writer and directly through libmpg123 and libmp3lame. Prints the best of
// three runs of each and our overhead in percent.

#include "components/audio/AudioFile2.h"
#include "components/audio/Mp3LameEncoder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <lame/lame.h>
#include <mpg123.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <numbers>
#include <vector>

namespace {

using tarvex::AudioFile2;
using tarvex::Mp3LameEncoder;
using tarvex::SampleBlock;

constexpr int kRate = 44100;
constexpr int kChannels = 2;
constexpr int64_t kFrames = int64_t{kRate} * 600;  // ten minutes
constexpr int kBlockFrames = 4410;                 // the runners' block size

// One second of a two-tone signal with some noise, reused block by block.
std::vector<float> makeSecond() {
  std::vector<float> values(static_cast<size_t>(kRate) * kChannels);
  uint32_t seed = 1;
  for (int i = 0; i < kRate; ++i) {
    for (int c = 0; c < kChannels; ++c) {
      seed = seed * 1664525u + 1013904223u;
      const double noise = (static_cast<double>(seed >> 8) / 16777216.0 - 0.5) * 0.1;
      values[static_cast<size_t>(i) * kChannels + c] = static_cast<float>(
          0.4 * std::sin(2 * std::numbers::pi * (440.0 + 220.0 * c) * i / kRate) + noise);
    }
  }
  return values;
}

Mp3LameEncoder benchEncoder() {
  Mp3LameEncoder encoder;
  encoder.setVbrMethod(-1);
  encoder.setBitrate(128);
  encoder.setQuality(5);
  encoder.setChannels(2);
  encoder.setStereoMode(2);
  encoder.setSampleRate(kRate);
  return encoder;
}

lame_t directLame() {
  lame_t lame = lame_init();
  lame_set_in_samplerate(lame, kRate);
  lame_set_num_channels(lame, kChannels);
  lame_set_out_samplerate(lame, kRate);
  lame_set_brate(lame, 128);
  lame_set_quality(lame, 5);
  lame_set_mode(lame, JOINT_STEREO);
  lame_set_write_id3tag_automatic(lame, 0);
  lame_set_bWriteVbrTag(lame, 1);
  lame_init_params(lame);
  return lame;
}

void finishDirect(lame_t lame, std::FILE* file, std::vector<unsigned char>& encoded) {
  const int bytes = lame_encode_flush(lame, encoded.data(), static_cast<int>(encoded.size()));
  std::fwrite(encoded.data(), 1, static_cast<size_t>(bytes), file);
  const size_t tag = lame_get_lametag_frame(lame, encoded.data(), encoded.size());
  std::fseek(file, 0, SEEK_SET);
  std::fwrite(encoded.data(), 1, tag, file);
  std::fclose(file);
  lame_close(lame);
}

void encodeOurs(const QString& path, const std::vector<float>& second, bool background) {
  AudioFile2 writer;
  writer.setBackgroundEncoding(background);
  writer.SetMp3Encoder(benchEncoder());
  writer.SetPcmFormat(kRate, kChannels);
  writer.CreateWrite(path, 0);
  SampleBlock block;
  for (int64_t done = 0; done < kFrames; done += kBlockFrames) {
    const size_t offset = static_cast<size_t>(done % kRate) * kChannels;
    block.values.assign(second.begin() + static_cast<ptrdiff_t>(offset),
                        second.begin() + static_cast<ptrdiff_t>(offset + kBlockFrames * kChannels));
    writer.WriteBlock(block);
  }
  writer.Close();
}

void encodeDirect(const QString& path, const std::vector<float>& second) {
  lame_t lame = directLame();
  std::FILE* file = std::fopen(QFile::encodeName(path).constData(), "wb");
  std::vector<unsigned char> encoded(kBlockFrames * 5 / 4 + 7200);
  for (int64_t done = 0; done < kFrames; done += kBlockFrames) {
    const size_t offset = static_cast<size_t>(done % kRate) * kChannels;
    const int bytes =
        lame_encode_buffer_interleaved_ieee_float(lame, second.data() + offset, kBlockFrames,
                                                  encoded.data(), static_cast<int>(encoded.size()));
    std::fwrite(encoded.data(), 1, static_cast<size_t>(bytes), file);
  }
  finishDirect(lame, file, encoded);
}

int64_t decodeOurs(const QString& path) {
  AudioFile2 reader;
  reader.OpenRead(path, 0, 1);
  int64_t frames = 0;
  while (true) {
    const SampleBlock block = reader.ReadBlock(kBlockFrames);
    if (block.upperBound() <= 0) break;
    frames += block.upperBound() / kChannels;
  }
  return frames;
}

mpg123_handle* openDirect(const QString& path) {
  mpg123_handle* handle = mpg123_new(nullptr, nullptr);
  mpg123_param(handle, MPG123_FLAGS, MPG123_GAPLESS | MPG123_QUIET | MPG123_FORCE_FLOAT, 0);
  mpg123_format_none(handle);
  mpg123_format(handle, kRate, MPG123_STEREO, MPG123_ENC_FLOAT_32);
  mpg123_open(handle, QFile::encodeName(path).constData());
  mpg123_scan(handle);  // the exact length, as our reader finds it
  return handle;
}

int64_t decodeDirect(const QString& path) {
  mpg123_handle* handle = openDirect(path);
  std::vector<float> buffer(static_cast<size_t>(kBlockFrames) * kChannels);
  int64_t frames = 0;
  size_t done = 0;
  while (true) {
    const int result = mpg123_read(handle, buffer.data(), buffer.size() * sizeof(float), &done);
    frames += static_cast<int64_t>(done / sizeof(float) / kChannels);
    if (result == MPG123_NEW_FORMAT) continue;
    if (result != MPG123_OK) break;
  }
  mpg123_close(handle);
  mpg123_delete(handle);
  return frames;
}

void transcodeOurs(const QString& source, const QString& target, bool background) {
  AudioFile2 reader;
  reader.OpenRead(source, 0, 1);
  AudioFile2 writer;
  writer.setBackgroundEncoding(background);
  writer.SetMp3Encoder(benchEncoder());
  writer.SetPcmFormat(reader.SampleRate(), reader.Channels());
  writer.CreateWrite(target, 0);
  while (true) {
    const SampleBlock block = reader.ReadBlock(kBlockFrames);
    if (block.upperBound() <= 0) break;
    writer.WriteBlock(block);
  }
  writer.Close();
}

void transcodeDirect(const QString& source, const QString& target) {
  mpg123_handle* handle = openDirect(source);
  lame_t lame = directLame();
  std::FILE* file = std::fopen(QFile::encodeName(target).constData(), "wb");
  std::vector<float> buffer(static_cast<size_t>(kBlockFrames) * kChannels);
  std::vector<unsigned char> encoded(kBlockFrames * 5 / 4 + 7200);
  size_t done = 0;
  while (true) {
    const int result = mpg123_read(handle, buffer.data(), buffer.size() * sizeof(float), &done);
    const int frames = static_cast<int>(done / sizeof(float) / kChannels);
    if (frames > 0) {
      const int bytes = lame_encode_buffer_interleaved_ieee_float(
          lame, buffer.data(), frames, encoded.data(), static_cast<int>(encoded.size()));
      std::fwrite(encoded.data(), 1, static_cast<size_t>(bytes), file);
    }
    if (result == MPG123_NEW_FORMAT) continue;
    if (result != MPG123_OK) break;
  }
  finishDirect(lame, file, encoded);
  mpg123_close(handle);
  mpg123_delete(handle);
}

double bestSeconds(const std::function<void()>& work) {
  double best = 1e30;
  for (int run = 0; run < 3; ++run) {
    const auto start = std::chrono::steady_clock::now();
    work();
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    best = std::min(best, elapsed.count());
  }
  return best;
}

void report(const char* what, double ours, double direct) {
  std::printf("%-38s ours %7.3f s   direct %7.3f s   overhead %+6.1f %%\n", what, ours, direct,
              (ours / direct - 1.0) * 100.0);
}

}  // namespace

int main() {
  mpg123_init();
  QTemporaryDir folder;
  const QString source = folder.filePath(QStringLiteral("source.mp3"));
  const QString target = folder.filePath(QStringLiteral("target.mp3"));
  const std::vector<float> second = makeSecond();
  encodeOurs(source, second, true);

  std::printf("10-minute 44.1 kHz stereo, MP3 128 kbit/s CBR, quality 5, blocks of %d frames\n",
              kBlockFrames);
  int64_t oursFrames = 0, directFrames = 0;
  const double decodeOursTime = bestSeconds([&] { oursFrames = decodeOurs(source); });
  const double decodeDirectTime = bestSeconds([&] { directFrames = decodeDirect(source); });
  std::printf("decoded frames: ours %lld, direct %lld\n", static_cast<long long>(oursFrames),
              static_cast<long long>(directFrames));
  report("decode only (with exact-length scan)", decodeOursTime, decodeDirectTime);
  const double encodeDirectTime = bestSeconds([&] { encodeDirect(target, second); });
  report("encode only, encoder thread", bestSeconds([&] { encodeOurs(target, second, true); }),
         encodeDirectTime);
  report("encode only, same thread", bestSeconds([&] { encodeOurs(target, second, false); }),
         encodeDirectTime);
  const double transcodeDirectTime = bestSeconds([&] { transcodeDirect(source, target); });
  report("decode+encode, encoder thread", bestSeconds([&] { transcodeOurs(source, target, true); }),
         transcodeDirectTime);
  report("decode+encode, same thread", bestSeconds([&] { transcodeOurs(source, target, false); }),
         transcodeDirectTime);
  return 0;
}
