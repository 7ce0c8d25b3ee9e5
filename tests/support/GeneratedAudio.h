#pragma once

#include "components/audio/AudioFile2.h"
#include "components/audio/Mp3LameEncoder.h"
#include "components/audio/SampleBlock.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace tarvex::testing {

enum class Signal { Tone, Noise, Silence };
enum class AudioFormat { Mp3, Wav, Ogg, Wma };

// How a generated file is encoded. The defaults give a 128 kbit/s CBR MP3
// with the LAME header, 16-bit WAV, Ogg at quality 0.3 and the default WMA
// profile (44.1 kHz stereo, 128 kbit/s).
struct OutputSettings {
  AudioFormat format = AudioFormat::Mp3;
  Mp3LameEncoder mp3;     // its SampleRate and Channels follow the file's unless set here
  bool mp3KeepRateAndChannels = false;
  int wavBits = 16;
  int16_t oggQuality = 300;
  int wmaProfile = 10;
};

// Deterministic test signals: a tone (440 Hz on channel 1, 660 Hz on
// channel 2, ...; amplitude 0.5) or white noise (amplitude 0.3) or silence.
SampleBlock generateBlock(Signal signal, int64_t firstFrame, int frames, int sampleRate,
                          int channels);

// Writes `frames` frames of `signal` through our writer; returns the frames
// written.
int64_t writeAudioFile(const QString& path, Signal signal, int64_t frames, int sampleRate,
                       int channels, const OutputSettings& settings);

int64_t writeToneFile(const QString& path, double seconds, int sampleRate, int channels,
                      AudioFormat format);
int64_t writeNoiseFile(const QString& path, double seconds, int sampleRate, int channels,
                       AudioFormat format);
int64_t writeSilenceFile(const QString& path, double seconds, int sampleRate, int channels,
                         AudioFormat format);

// Reads everything from the reader's current position in blocks of
// `blockFrames` frames.
std::vector<float> readToEnd(AudioFile2& reader, int blockFrames = 4096);

// The whole file from frame 0 through a fresh reader.
std::vector<float> decodeFile(const QString& path);

}  // namespace tarvex::testing
