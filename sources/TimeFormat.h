#pragma once

#include <QString>
#include <cstdint>

namespace tarvex {

// Whole seconds as "hh:mm:ss", each part at least two digits (hours may have
// more): 0 → "00:00:00", 3725 → "01:02:05", 360000 → "100:00:00".
QString FormatTime(int64_t seconds);

}  // namespace tarvex
