#pragma once

#include "platform/Error.h"

namespace tarvex::skin {

// A skin text or skin file that cannot be used; the message is meant for the
// user (it names the fault and, where known, the line).
class SkinError : public tarvex::Error {
 public:
  using tarvex::Error::Error;
};

}  // namespace tarvex::skin
