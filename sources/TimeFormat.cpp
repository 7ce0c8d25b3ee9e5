#include "sources/TimeFormat.h"

namespace tarvex {
namespace {

QString twoDigits(int64_t value) {
  const QString digits =
      QString::number(value < 0 ? -value : value).rightJustified(2, QLatin1Char('0'));
  return value < 0 ? QLatin1Char('-') + digits : digits;
}

}  // namespace

QString FormatTime(int64_t seconds) {
  const int64_t hours = seconds / 3600;
  const int64_t minutes = (seconds - 3600 * hours) / 60;
  const int64_t rest = seconds % 60;
  return twoDigits(hours) + QLatin1Char(':') + twoDigits(minutes) + QLatin1Char(':') +
         twoDigits(rest);
}

int64_t roundedSeconds(int64_t milliseconds) {
  return milliseconds >= 0 ? (milliseconds + 500) / 1000 : -((-milliseconds + 500) / 1000);
}

QString FormatMilliseconds(int64_t milliseconds) {
  return FormatTime(roundedSeconds(milliseconds));
}

}  // namespace tarvex
