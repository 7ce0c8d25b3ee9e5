#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace tarvex::testing {

// A source whose length is no whole number of milliseconds, a way to cut it,
// and where each piece must start and end: round(t × rate) of the times it
// names, an end past the source being the source's end.
struct ExactCase {
  const char* name;  // "every" (7 s), "pieces" (3) or "ranges" (two fractional ranges)
  int rate;
  int64_t frames;
  QStringList arguments;       // the command line's options for the cut
  std::vector<double> firsts;  // seconds
  std::vector<double> ends;    // seconds; < 0: the source's end
  QString labels;              // the fractional ranges as a label file, "" for the others

  int64_t firstSample(size_t piece) const;
  int64_t endSample(size_t piece) const;
};

// 500 208 samples at 44.1 kHz and 125 053 at 11.025 kHz (11.34 s each), each
// split every 7 s, into 3, and by the ranges 1.5-4.25 and 7.777-10.5.
std::vector<ExactCase> exactCases();

// The case's test name: "every_44100".
std::string exactCaseName(const ExactCase& exact);

// Counts the samples mpg123 decodes from an MP3 at `rate`, mixed to one
// channel (the count a player gives for the piece).
int64_t mpg123Frames(const QString& mp3, int rate);

}  // namespace tarvex::testing
