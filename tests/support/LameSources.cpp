#include "tests/support/LameSources.h"

#include "tests/support/GeneratedAudio.h"

#include <QProcess>

#include <algorithm>

namespace tarvex::testing {

QString makeLameMp3(const QString& folder, const QString& name, double seconds, int sampleRate,
                    int channels, const QStringList& lameOptions, float noiseGain) {
  const QString wav = folder + QLatin1Char('/') + name + QStringLiteral(".wav");
  const QString mp3 = folder + QLatin1Char('/') + name + QStringLiteral(".mp3");
  const auto frames = static_cast<int64_t>(seconds * sampleRate);
  // Noise over a tone: dense enough that the encoder uses its bit reservoir
  // (at the full `noiseGain`).
  AudioFile2 writer;
  writer.setActive(true);
  writer.SetWavFormat(sampleRate, channels, 16);
  writer.SetPcmFormat(sampleRate, channels);
  writer.CreateWrite(wav);
  for (int64_t done = 0; done < frames; done += 4096) {
    const int count = static_cast<int>(std::min<int64_t>(4096, frames - done));
    SampleBlock tone = generateBlock(Signal::Tone, done, count, sampleRate, channels);
    const SampleBlock noise = generateBlock(Signal::Noise, done, count, sampleRate, channels);
    for (size_t i = 0; i < tone.values.size(); ++i)
      tone.values[i] = 0.5f * tone.values[i] + noiseGain * noise.values[i];
    writer.WriteBlock(tone);
  }
  writer.Close();
  QProcess lame;
  lame.start(QStringLiteral("lame"),
             QStringList{QStringLiteral("--quiet")} + lameOptions + QStringList{wav, mp3});
  if (!lame.waitForFinished(60000) || lame.exitCode() != 0) return {};
  return mp3;
}

}  // namespace tarvex::testing
