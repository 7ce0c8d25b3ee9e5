#include "tests/support/ExactCuts.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "tests/support/OutsideTool.h"

namespace tarvex::testing {

namespace {

int64_t sampleAt(double seconds, int rate, int64_t frames) {
  if (seconds < 0) return frames;
  return std::min<int64_t>(std::llround(seconds * rate), frames);
}

}  // namespace

int64_t ExactCase::firstSample(size_t piece) const {
  return sampleAt(firsts.at(piece), rate, frames);
}

int64_t ExactCase::endSample(size_t piece) const {
  return sampleAt(ends.at(piece), rate, frames);
}

std::vector<ExactCase> exactCases() {
  std::vector<ExactCase> cases;
  for (const auto& [rate, frames] : {std::pair<int, int64_t>{44100, 500208}, {11025, 125053}}) {
    // 11.34 s: whole-second length 11; three pieces end at 4 and 7 (11 × k ÷ 3 rounded).
    cases.push_back({"every", rate, frames, {"--every", "7"}, {0, 7}, {7, -1}, {}});
    cases.push_back({"pieces", rate, frames, {"--pieces", "3"}, {0, 4, 7}, {4, 7, -1}, {}});
    cases.push_back({"ranges",
                     rate,
                     frames,
                     {"--ranges", "0:01.5-0:04.25,7.777-10.5"},
                     {1.5, 7.777},
                     {4.25, 10.5},
                     "1.5\t4.25\tfirst\n7.777\t10.5\tsecond\n"});
  }
  return cases;
}

std::string exactCaseName(const ExactCase& exact) {
  return std::string(exact.name) + "_" + std::to_string(exact.rate);
}

int64_t mpg123Frames(const QString& mp3, int rate) {
  const QByteArray pcm =
      runOutsideToolBytes("mpg123", {"-q", "-s", "-r", QString::number(rate), "--mono", mp3});
  return pcm.size() / 2;  // 16-bit samples
}

}  // namespace tarvex::testing
