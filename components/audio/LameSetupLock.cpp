#include "components/audio/LameSetupLock.h"

namespace tarvex {

std::mutex& lameSetupMutex() {
  static std::mutex mutex;
  return mutex;
}

}  // namespace tarvex
