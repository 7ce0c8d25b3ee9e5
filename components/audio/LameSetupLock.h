#pragma once

#include <mutex>

namespace tarvex {

// libmp3lame fills tables shared by every encoder the first time one is set
// up, without a lock of its own; encoders set up on several threads at once
// (lame_init and lame_init_params) take turns on this lock. Encoding itself
// touches only the encoder's own state.
std::mutex& lameSetupMutex();

}  // namespace tarvex
