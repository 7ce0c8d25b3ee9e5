#pragma once

#include <memory>

#include "components/output/AudioOutput.h"

namespace tarvex {

// An output on the system's default sound device; null when there is none.
std::unique_ptr<AudioOutput> defaultDeviceOutput();

}  // namespace tarvex
