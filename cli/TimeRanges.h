#pragma once

#include <QString>
#include <vector>

#include "cli/CliCommand.h"

namespace tarvex::cli {

// A time written as "SS", "M:SS" or "H:MM:SS" (minutes and seconds below 60
// after the first part), each with an optional fraction of a second after a
// point ("7.777", "1:02.5"). Throws UsageError naming `text`.
double parseTime(const QString& text);

// "0:30-1:15,2:00.25-2:30": ranges separated by commas, each "BEGIN-END" with
// END after BEGIN. Throws UsageError naming the range at fault.
std::vector<TypedRange> parseRanges(const QString& text);

}  // namespace tarvex::cli
