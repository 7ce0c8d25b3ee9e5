#pragma once

#include <QString>

#include "cli/CliCommand.h"
#include "processing/EncoderProfile.h"

namespace tarvex::cli {

// The profile of `formatIndex` from the settings file (--settings, else
// `userSettingsPath`), with the encoder flags laid over it: --bitrate sets
// the MP3 and Ogg bitrate, --vbr-quality turns MP3 VBR on (the default method
// when none is chosen) at that quality, --preset uses that MP3 preset, --lame
// gives the free command line. Throws CliFailure when a --settings file does
// not exist.
EncoderProfile encoderProfileFor(const CliCommand& command, int formatIndex,
                                 const QString& userSettingsPath);

}  // namespace tarvex::cli
