#include "processing/verify/ReencodedFrames.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <string_view>
#include <unordered_set>

#include "components/audio/AudioError.h"
#include "components/audio/mp3frames/Mp3FrameSource.h"

namespace tarvex::verify {

namespace {

using mp3frames::Mp3FrameSource;

// Source frames matched beyond each end of a part's planned stretch: the
// frames a cut may carry for the decoder's sake.
constexpr int64_t kFramesBeyondPart = 4;

uint64_t mainDataHash(const Mp3FrameSource& file, size_t index) {
  const std::vector<unsigned char> bytes = file.mainData(index);
  const std::string_view view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  // The length goes in too, so that main data of different sizes never meet.
  return std::hash<std::string_view>{}(view) ^ (uint64_t{bytes.size()} << 48);
}

void addSourceFrames(const PlannedPart& part, std::unordered_set<uint64_t>& hashes) {
  std::unique_ptr<Mp3FrameSource> source;
  try {
    source = std::make_unique<Mp3FrameSource>(part.sourcePath);
  } catch (const AudioError&) {
    return;  // not an MP3: every output frame is new
  }
  const int64_t perFrame = source->samplesPerFrame();
  const int64_t count = static_cast<int64_t>(source->frames().size());
  const int64_t first = std::clamp<int64_t>(
      (part.firstSample + source->startPosition()) / perFrame - kFramesBeyondPart, 0, count);
  const int64_t end = std::clamp<int64_t>(
      (part.endSample + source->startPosition()) / perFrame + 1 + kFramesBeyondPart, 0, count);
  for (int64_t index = first; index < end; ++index) {
    hashes.insert(mainDataHash(*source, static_cast<size_t>(index)));
  }
}

// After a frame encoded anew, the decoder's synthesis filter still holds its
// subband samples for 15 slots of 32 samples beyond the granule whose overlap
// it fed, so copied audio there decodes a little differently too.
constexpr int64_t kSynthesisMemory = 15 * 32;

}  // namespace

ReencodedFrames findReencodedFrames(const QString& outputPath,
                                    const std::vector<PlannedPart>& parts) {
  std::unordered_set<uint64_t> hashes;
  for (const PlannedPart& part : parts) addSourceFrames(part, hashes);

  const Mp3FrameSource output(outputPath);
  ReencodedFrames found;
  found.outputFrames = static_cast<int>(output.frames().size());
  const int64_t perFrame = output.samplesPerFrame();
  const int64_t granule = perFrame / output.firstHeader().granules();
  for (size_t index = 0; index < output.frames().size(); ++index) {
    if (hashes.count(mainDataHash(output, index)) != 0) continue;
    ++found.reencoded;
    const int64_t first = static_cast<int64_t>(index) * perFrame - output.startPosition() - granule;
    const int64_t end = first + perFrame + 2 * granule + kSynthesisMemory;
    if (!found.spans.empty() && found.spans.back().end >= first) {
      found.spans.back().end = end;
    } else {
      found.spans.push_back(SampleSpan{first, end});
    }
  }
  return found;
}

}  // namespace tarvex::verify
