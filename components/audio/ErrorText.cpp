#include "components/audio/ErrorText.h"

#include <QDir>

#include <cstring>

extern "C" {
#include <libavutil/error.h>
}

namespace tarvex {

QString systemReason(int errorNumber) {
  QString text = QString::fromLocal8Bit(std::strerror(errorNumber));
  if (!text.isEmpty()) text[0] = text[0].toLower();
  return text;
}

QString ffmpegReason(int errorCode) {
  if (errorCode == AVERROR(ENOENT)) return QStringLiteral("file not found");
  if (errorCode == AVERROR_INVALIDDATA) return QStringLiteral("not an audio file");
  if (errorCode < 0 && errorCode > -4096) return systemReason(-errorCode);
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(errorCode, text, sizeof text);
  QString reason = QString::fromUtf8(text);
  if (!reason.isEmpty()) reason[0] = reason[0].toLower();
  return reason;
}

static QString shown(const QString& fileName) { return QDir::toNativeSeparators(fileName); }

QString openError(const QString& fileName, const QString& reason) {
  return QStringLiteral("Cannot open %1: %2").arg(shown(fileName), reason);
}

QString createError(const QString& fileName, const QString& reason) {
  return QStringLiteral("Cannot create %1: %2").arg(shown(fileName), reason);
}

QString writeError(const QString& fileName, const QString& reason) {
  return QStringLiteral("Cannot write %1: %2").arg(shown(fileName), reason);
}

QString readError(const QString& fileName, const QString& reason) {
  return QStringLiteral("Cannot read %1: %2").arg(shown(fileName), reason);
}

}  // namespace tarvex
