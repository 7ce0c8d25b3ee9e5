#include "tests/support/ProgrammeAudio.h"

#include <algorithm>
#include <cmath>

namespace tarvex::testing {

namespace {
// RMS levels of the plain generated signals: a 0.5 sine, uniform noise of 0.3.
double plainLevelDb(Signal signal) {
  return signal == Signal::Tone ? 20.0 * std::log10(0.5 / std::sqrt(2.0))
                                : 20.0 * std::log10(0.3 / std::sqrt(3.0));
}
}  // namespace

std::vector<int64_t> writeProgramme(const QString& path, const std::vector<Stretch>& stretches,
                                    AudioFormat format, int sampleRate, int channels) {
  AudioFile2 writer;
  writer.setActive(true);
  if (format == AudioFormat::Mp3) {
    Mp3LameEncoder encoder;
    encoder.setSampleRate(sampleRate);
    encoder.setChannels(channels);
    writer.SetMp3Encoder(encoder);
  } else {
    writer.SetWavFormat(sampleRate, channels, 16);
  }
  writer.SetPcmFormat(sampleRate, channels);
  writer.CreateWrite(path, 0);
  std::vector<int64_t> starts;
  int64_t frame = 0;
  for (const Stretch& stretch : stretches) {
    starts.push_back(frame);
    const int64_t end = frame + std::llround(stretch.seconds * sampleRate);
    const double gain =
        stretch.signal == Signal::Silence
            ? 0.0
            : std::pow(10.0, (stretch.levelDb - plainLevelDb(stretch.signal)) / 20.0);
    while (frame < end) {
      const int count = static_cast<int>(std::min<int64_t>(4096, end - frame));
      SampleBlock block = generateBlock(stretch.signal, frame, count, sampleRate, channels);
      for (float& value : block.values) value = static_cast<float>(value * gain);
      writer.WriteBlock(block);
      frame += count;
    }
  }
  writer.Close();
  starts.push_back(frame);
  return starts;
}

std::vector<int64_t> writePausedProgramme(const QString& path, AudioFormat format, int sampleRate,
                                          int channels) {
  return writeProgramme(path,
                        {{Signal::Tone, 2.3137},
                         {Signal::Silence, 1.4},
                         {Signal::Noise, 3.1},
                         {Signal::Silence, 1.25},
                         {Signal::Tone, 3.2799}},
                        format, sampleRate, channels);
}

}  // namespace tarvex::testing
