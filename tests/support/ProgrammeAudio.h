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

}  // namespace tarvex::testing
