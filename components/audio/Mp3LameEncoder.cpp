#include "components/audio/Mp3LameEncoder.h"

#include "components/audio/LameCommandLine.h"

namespace tarvex {

void Mp3LameEncoder::setPreset(int preset) {
  preset_ = preset;
  presetInForce_ = true;
}

void Mp3LameEncoder::setAltPreset(int altPreset) {
  altPreset_ = altPreset;
  altPresetInForce_ = true;
}

void Mp3LameEncoder::validateCommandLine(const QString& commandLine) {
  parseLameCommandLine(commandLine);
}

}  // namespace tarvex
