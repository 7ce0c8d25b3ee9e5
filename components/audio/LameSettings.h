#pragma once

#include <lame/lame.h>

namespace tarvex {

class Mp3LameEncoder;

// Applies every setting of `settings` to `lame` (before lame_init_params):
// the individual settings or the presets in force, then the command line.
// The input format is the one the writer will feed. Throws AudioError for a
// command line the encoder cannot take.
void applyLameSettings(lame_t lame, const Mp3LameEncoder& settings, int inputRate,
                       int inputChannels);

}  // namespace tarvex
