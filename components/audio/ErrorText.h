#pragma once

#include <QString>

namespace tarvex {

// Builds the user-facing texts of the audio engine's errors.
QString systemReason(int errorNumber);  // "permission denied", "no space left on device", ...
QString ffmpegReason(int errorCode);
QString openError(const QString& fileName, const QString& reason);
QString createError(const QString& fileName, const QString& reason);
QString writeError(const QString& fileName, const QString& reason);
QString readError(const QString& fileName, const QString& reason);

}  // namespace tarvex
