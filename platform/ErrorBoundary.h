#pragma once

#include <exception>
#include <utility>

#include "platform/Error.h"
#include "platform/PlatformServices.h"

class QWidget;

namespace tarvex {

// Where a command or an event enters our code from the window: runs `work`,
// and an exception that ends it is shown once by the application's error
// display (an Error with its own message) instead of unwinding into the event
// loop. The window goes on as before.
template <typename Work>
void runShowingErrors(PlatformServices* platform, QWidget* parent, Work&& work) {
  try {
    std::forward<Work>(work)();
  } catch (const std::exception& error) {
    if (platform != nullptr) platform->showError(parent, userMessage(error));
  }
}

}  // namespace tarvex
