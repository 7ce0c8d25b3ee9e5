#include "tests/support/LameSources.h"

#include "components/audio/mp3frames/Mp3FrameSource.h"
#include "components/audio/mp3frames/SourcePcm.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tarvex::testing {
namespace {

using mp3frames::decodeRawSpan;
using mp3frames::Mp3FrameSource;

// A bare tone encoded at a low variable bitrate: frames of a few dozen
// bytes whose main data lies many frames back in the reservoir.
struct TinyFrameSource {
  const char* name;
  int sampleRate;
  QStringList lameOptions;
};

class DecodedSpan : public ::testing::TestWithParam<TinyFrameSource> {
 protected:
  TempFolder folder_;
};

// The audio of a span decoded on its own is the very audio of the whole
// stream decoded from its start, wherever in a frame the span begins.
TEST_P(DecodedSpan, MatchesTheWholeStreamDecodedFromItsStart) {
  const TinyFrameSource& param = GetParam();
  const QString path = makeLameMp3(folder_.path(), QString::fromLatin1(param.name), 2.3719,
                                   param.sampleRate, 2, param.lameOptions, 0.0f);
  ASSERT_FALSE(path.isEmpty());
  const Mp3FrameSource source(path);
  const auto& frames = source.frames();
  const int channels = source.channels();
  const int perFrame = source.samplesPerFrame();
  const auto rawEnd = static_cast<int64_t>(frames.size()) * perFrame;
  const std::vector<float> whole = decodeRawSpan(source, 0, rawEnd);

  for (const double at : {0.31, 0.57, 0.83}) {
    const auto begin = static_cast<int64_t>(at * static_cast<double>(rawEnd)) + 211;
    const int64_t end = begin + 3 * perFrame + 77;
    // Only frames this small make the reservoir reach back past a fixed
    // count of frames.
    const auto frame = static_cast<size_t>(begin / perFrame);
    int before = 0;
    for (size_t i = frame - 4; i < frame; ++i) before += frames[i].areaBytes();
    ASSERT_LT(before, source.firstHeader().version == mp3frames::MpegFrameHeader::Version::Mpeg1
                          ? 511
                          : 255)
        << "the source's frames are not small enough to test the reservoir's reach";

    const std::vector<float> span = decodeRawSpan(source, begin, end);
    ASSERT_EQ(span.size(), static_cast<size_t>((end - begin) * channels));
    const auto from = whole.begin() + begin * channels;
    const auto mismatch = std::mismatch(span.begin(), span.end(), from);
    EXPECT_EQ(mismatch.first, span.end())
        << param.name << " at " << at << ": first differing sample "
        << (mismatch.first - span.begin()) / channels << " of " << end - begin;
  }
}

INSTANTIATE_TEST_SUITE_P(
    TinyFrames, DecodedSpan,
    ::testing::Values(TinyFrameSource{"vbr9_44k", 44100, {"-V", "9", "--resample", "44.1"}},
                      TinyFrameSource{"vbr6_22k_mpeg2", 22050, {"-V", "6", "--resample", "22.05"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarvex::testing
