#include "processing/verify/SampleDifference.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "components/audio/AudioFile2.h"

namespace tarvex::verify {

namespace {

constexpr int kBlockFrames = 32768;

// True when output sample `position` lies in one of `excluded`, moving
// `next` past the spans that end before it (positions only grow).
bool isExcluded(const std::vector<SampleSpan>& excluded, size_t& next, int64_t position) {
  while (next < excluded.size() && excluded[next].end <= position) ++next;
  return next < excluded.size() && excluded[next].first <= position;
}

}  // namespace

Difference compareStretch(AudioFile2& output, int64_t outputStart, AudioFile2& source,
                          int64_t sourceStart, int64_t count,
                          const std::vector<SampleSpan>& excluded) {
  Difference difference;
  const int channels = output.Channels();
  const int64_t available = std::min(count, output.Samples() - outputStart);
  if (available <= 0 || outputStart < 0 || sourceStart < 0) return difference;
  output.Seek(outputStart);
  source.Seek(sourceStart);
  size_t nextSpan = 0;
  int64_t done = 0;
  while (done < available) {
    const int want = static_cast<int>(std::min<int64_t>(available - done, kBlockFrames));
    const SampleBlock made = output.ReadBlock(want);
    const SampleBlock planned = source.ReadBlock(want);
    const int64_t frames =
        std::min(made.upperBound(), planned.upperBound()) / std::max(channels, 1);
    if (frames == 0) break;
    for (int64_t frame = 0; frame < frames; ++frame) {
      if (isExcluded(excluded, nextSpan, outputStart + done + frame)) continue;
      ++difference.compared;
      for (int channel = 0; channel < channels; ++channel) {
        const size_t at = static_cast<size_t>(frame * channels + channel);
        difference.largest =
            std::max(difference.largest, std::fabs(double{made.values[at]} - planned.values[at]));
      }
    }
    done += frames;
    if (frames < want) break;
  }
  return difference;
}

}  // namespace tarvex::verify
