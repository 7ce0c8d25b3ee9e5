#include "tests/support/GeneratedAudio.h"

#include <cmath>
#include <numbers>

namespace tarvex::testing {

namespace {

constexpr int kWriteBlockFrames = 4410;

float noiseValue(int64_t index) {
  // A small integer hash, so any frame of the noise can be produced alone.
  uint64_t x = static_cast<uint64_t>(index) * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull;
  x ^= x >> 31;
  x *= 0xBF58476D1CE4E5B9ull;
  x ^= x >> 29;
  return static_cast<float>(static_cast<double>(x >> 11) / 9007199254740992.0 * 2.0 - 1.0) * 0.3f;
}

}  // namespace

SampleBlock generateBlock(Signal signal, int64_t firstFrame, int frames, int sampleRate,
                          int channels) {
  SampleBlock block;
  block.values.resize(static_cast<size_t>(frames) * channels);
  for (int i = 0; i < frames; ++i) {
    const int64_t frame = firstFrame + i;
    for (int c = 0; c < channels; ++c) {
      float value = 0.0f;
      if (signal == Signal::Tone) {
        const double frequency = 440.0 * (1.0 + 0.5 * c);
        const double phase = std::fmod(static_cast<double>(frame) * frequency / sampleRate, 1.0);
        value = static_cast<float>(0.5 * std::sin(2.0 * std::numbers::pi * phase));
      } else if (signal == Signal::Noise) {
        value = noiseValue(frame * channels + c);
      }
      block.values[static_cast<size_t>(i) * channels + c] = value;
    }
  }
  return block;
}

int64_t writeAudioFile(const QString& path, Signal signal, int64_t frames, int sampleRate,
                       int channels, const OutputSettings& settings) {
  AudioFile2 writer;
  writer.setActive(true);
  switch (settings.format) {
    case AudioFormat::Mp3: {
      Mp3LameEncoder encoder = settings.mp3;
      if (!settings.mp3KeepRateAndChannels) {
        encoder.setSampleRate(sampleRate);
        encoder.setChannels(channels);
      }
      writer.SetMp3Encoder(encoder);
      break;
    }
    case AudioFormat::Wav:
      writer.SetWavFormat(sampleRate, channels, settings.wavBits);
      break;
    case AudioFormat::Ogg:
      writer.SetOggFormat(sampleRate, channels, 0, 0, 0, settings.oggQuality);
      break;
    case AudioFormat::Wma:
      writer.SetWmaFormat(settings.wmaProfile);
      break;
  }
  writer.SetPcmFormat(sampleRate, channels);
  writer.CreateWrite(path, 0);
  int64_t written = 0;
  while (written < frames) {
    const int count = static_cast<int>(std::min<int64_t>(kWriteBlockFrames, frames - written));
    writer.WriteBlock(generateBlock(signal, written, count, sampleRate, channels));
    written += count;
  }
  writer.Close();
  return written;
}

static int64_t writeSeconds(const QString& path, Signal signal, double seconds, int sampleRate,
                            int channels, AudioFormat format) {
  OutputSettings settings;
  settings.format = format;
  return writeAudioFile(path, signal, std::llround(seconds * sampleRate), sampleRate, channels,
                        settings);
}

int64_t writeToneFile(const QString& path, double seconds, int sampleRate, int channels,
                      AudioFormat format) {
  return writeSeconds(path, Signal::Tone, seconds, sampleRate, channels, format);
}

int64_t writeNoiseFile(const QString& path, double seconds, int sampleRate, int channels,
                       AudioFormat format) {
  return writeSeconds(path, Signal::Noise, seconds, sampleRate, channels, format);
}

int64_t writeSilenceFile(const QString& path, double seconds, int sampleRate, int channels,
                         AudioFormat format) {
  return writeSeconds(path, Signal::Silence, seconds, sampleRate, channels, format);
}

std::vector<float> readToEnd(AudioFile2& reader, int blockFrames) {
  std::vector<float> values;
  while (true) {
    const SampleBlock block = reader.ReadBlock(blockFrames);
    if (block.upperBound() <= 0) break;
    values.insert(values.end(), block.values.begin(), block.values.end());
  }
  return values;
}

std::vector<float> decodeFile(const QString& path) {
  AudioFile2 reader;
  reader.OpenRead(path, 0, 1);
  return readToEnd(reader);
}

}  // namespace tarvex::testing
