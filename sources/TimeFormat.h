#pragma once

#include <QString>
#include <cstdint>

namespace tarvex {

// Whole seconds as "hh:mm:ss", each part at least two digits (hours may have
// more): 0 → "00:00:00", 3725 → "01:02:05", 360000 → "100:00:00".
QString FormatTime(int64_t seconds);

// A time in milliseconds as whole seconds, rounded to the nearest one (half
// a second up). Every length and total the lists show is rounded this way.
int64_t roundedSeconds(int64_t milliseconds);

// FormatTime of roundedSeconds: 10500 → "00:00:11".
QString FormatMilliseconds(int64_t milliseconds);

}  // namespace tarvex
