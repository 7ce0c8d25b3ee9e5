#pragma once

#include "platform/Error.h"

namespace tarvex {

// A tag could not be read or written; the message is meant for the user.
class TagError : public Error {
 public:
  using Error::Error;
};

}  // namespace tarvex
