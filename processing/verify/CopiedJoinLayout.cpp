#include "processing/verify/CopiedJoinLayout.h"

#include <memory>

#include "components/audio/AudioError.h"
#include "components/audio/mp3frames/Mp3FrameSource.h"
#include "components/audio/mp3frames/SeamlessJoin.h"

namespace tarvex::verify {

std::vector<int64_t> copiedJoinOverlaps(const std::vector<PlannedPart>& parts) {
  try {
    std::vector<std::unique_ptr<mp3frames::Mp3FrameSource>> sources;
    std::vector<mp3frames::JoinSpan> spans;
    for (const PlannedPart& part : parts) {
      sources.push_back(std::make_unique<mp3frames::Mp3FrameSource>(part.sourcePath));
      spans.push_back({sources.back().get(), part.firstSample, part.endSample});
    }
    std::vector<int64_t> overlaps;
    for (const mp3frames::SeamlessJoinPart& part : mp3frames::planSeamlessJoin(spans).parts)
      overlaps.push_back(part.overlap);
    return overlaps;
  } catch (const AudioError&) {
    return {};
  }
}

}  // namespace tarvex::verify
