#pragma once

#include <QString>
#include <exception>

namespace tarvex {

// The user-readable message of an error that ended a job: an audio or tag
// error's own text, else what the exception says.
QString jobErrorMessage(const std::exception& error);

}  // namespace tarvex
