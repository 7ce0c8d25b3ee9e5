#pragma once

#include <QString>
#include <vector>

#include "cli/CliCommand.h"

namespace tarvex::cli {

// A time in whole seconds written as "SS", "M:SS" or "H:MM:SS" (minutes and
// seconds below 60 after the first part). Throws UsageError naming `text`.
int parseSeconds(const QString& text);

// "0:30-1:15,2:00-2:30": ranges separated by commas, each "BEGIN-END" with
// END after BEGIN. Throws UsageError naming the range at fault.
std::vector<TimeRange> parseRanges(const QString& text);

}  // namespace tarvex::cli
