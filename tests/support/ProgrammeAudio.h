#pragma once

#include <QString>
#include <vector>

#include "tests/support/GeneratedAudio.h"

namespace tarvex::testing {

// One stretch of a generated programme: a signal for some seconds, scaled
// so that its RMS level per channel is `levelDb` (dB of full scale).
struct Stretch {
  Signal signal = Signal::Tone;
  double seconds = 1.0;
  double levelDb = -9.03;  // the plain test tone's own level
};

// Writes the stretches one after another through our writer; returns the
// first frame of each stretch and, last, the total.
std::vector<int64_t> writeProgramme(const QString& path, const std::vector<Stretch>& stretches,
                                    AudioFormat format, int sampleRate = 44100, int channels = 2);

// A short programme with pauses to find and no whole-millisecond lengths:
// 2.3137 s of tone, 1.4 s of silence, 3.1 s of noise, 1.25 s of silence and
// 3.2799 s of tone (11.3436 s), written as writeProgramme writes it.
std::vector<int64_t> writePausedProgramme(const QString& path,
                                          AudioFormat format = AudioFormat::Wav,
                                          int sampleRate = 44100, int channels = 1);

}  // namespace tarvex::testing
