#pragma once

#include <QString>
#include <vector>

namespace tarvex::cli {

// A time written as "SS", "M:SS" or "H:MM:SS" (minutes and seconds below 60
// after the first part), each with an optional fraction of a second after a
// point ("7.777", "1:02.5"). Throws UsageError naming `text`.
double parseTime(const QString& text);

// "0:30-1:15,2:00.25-2:30": ranges separated by commas, each "BEGIN-END" with
// END after BEGIN, as their times in seconds: each range's begin, then its
// end (marksAtTimes makes them marked ranges). Throws UsageError naming the
// range at fault.
std::vector<double> parseRanges(const QString& text);

}  // namespace tarvex::cli
