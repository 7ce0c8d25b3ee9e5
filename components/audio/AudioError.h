#pragma once

#include "platform/Error.h"

namespace tarvex {

// The audio engine's error. Its text names the operation, the file and the
// reason, e.g. "Cannot open /music/a.mp3: not an audio file".
class AudioError : public Error {
 public:
  using Error::Error;
};

}  // namespace tarvex
