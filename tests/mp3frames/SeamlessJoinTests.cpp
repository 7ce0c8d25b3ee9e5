#include "FrameWindows.h"
#include "OutsideDecoders.h"
#include "tests/support/LameSources.h"

#include "components/audio/AudioError.h"
#include "components/audio/mp3frames/Mp3FrameSource.h"
#include "components/audio/mp3frames/Mp3LosslessCut.h"
#include "components/audio/mp3frames/SeamlessJoin.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>

namespace tarvex::testing {
namespace {

using mp3frames::JoinSpan;
using mp3frames::Mp3FrameSource;
using mp3frames::SeamlessJoinPlan;

struct JoinSource {
  const char* name;
  int sampleRate;
  QStringList lameOptions;
};

// Noise over a tone keeps the bit reservoir busy; the tone alone shows a
// click.
constexpr float kNoisy = 1.0f;
constexpr float kToneOnly = 0.0f;

void PrintTo(const JoinSource& source, std::ostream* out) {
  *out << source.name;
}

// The largest step between neighbouring samples of `decode` over frames
// [from, to), any channel.
float largestStep(const OutsideDecode& decode, int64_t from, int64_t to) {
  float largest = 0.0f;
  const int channels = decode.channels;
  from = std::max<int64_t>(from, 1);
  to = std::min(to, decode.frames());
  for (int64_t frame = from; frame < to; ++frame)
    for (int channel = 0; channel < channels; ++channel) {
      const auto at = static_cast<size_t>(frame * channels + channel);
      largest = std::max(largest, std::fabs(decode.samples[at] - decode.samples[at - channels]));
    }
  return largest;
}

// Output samples [from, to) that the copied frames of part `index` decode
// alone: past the encoded frames, the granules beside them and the reach of
// the synthesis filter.
std::pair<int64_t, int64_t> copiedSamples(const SeamlessJoinPlan& plan, size_t index,
                                          int perFrame) {
  const auto& part = plan.parts[index];
  const int64_t first = static_cast<int64_t>(part.firstFrame) + part.frameShift;
  const int64_t last = static_cast<int64_t>(part.lastFrame) + part.frameShift;
  const int64_t from =
      index == 0 && plan.copiedStart ? 0 : first * perFrame + 576 + 481 - plan.startPosition;
  const int64_t to = index + 1 == plan.parts.size() && plan.copiedEnd
                         ? plan.samples
                         : (last + 1) * perFrame - plan.startPosition;
  return {from, to};
}

std::vector<JoinSpan> wholeSpans(const std::vector<std::unique_ptr<Mp3FrameSource>>& sources) {
  std::vector<JoinSpan> spans;
  for (const auto& source : sources) spans.push_back({source.get(), 0, source->totalSamples()});
  return spans;
}

class SeamlessJoinTest : public ::testing::TestWithParam<JoinSource> {
 protected:
  void joinPiecesBack(float noise, mp3frames::PieceEdges edges);
  void joinWholeFiles(float noise);
  TempFolder folder_;
};

// Pieces cut from one recording and joined back in order decode to exactly
// the recording's samples over their span, with no click at the seams.
TEST_P(SeamlessJoinTest, PiecesOfOneRecordingJoinBackExactly) {
  for (const float noise : {kNoisy, kToneOnly}) {
    SCOPED_TRACE(noise == kNoisy ? "noisy" : "tone only");
    joinPiecesBack(noise, mp3frames::PieceEdges::Reencoded);
  }
  // Pieces whose edges are the recording's own frames give the seam the
  // recording's audio to encode from.
  SCOPED_TRACE("copied edges, tone only");
  joinPiecesBack(kToneOnly, mp3frames::PieceEdges::Copied);
}

void SeamlessJoinTest::joinPiecesBack(float noise, mp3frames::PieceEdges edges) {
  const JoinSource& param = GetParam();
  const bool copiedEdges = edges == mp3frames::PieceEdges::Copied;
  const QString name = QStringLiteral("%1_%2_%3")
                           .arg(QString::fromLatin1(param.name))
                           .arg(noise)
                           .arg(copiedEdges ? 1 : 0);
  const QString mp3 =
      makeLameMp3(folder_.path(), name, 3.1373, param.sampleRate, 2, param.lameOptions, noise);
  ASSERT_FALSE(mp3.isEmpty());
  const Mp3FrameSource source(mp3);
  const int rate = param.sampleRate;
  const std::vector<int64_t> cuts = {rate * 23 / 100 + 7, rate * 119 / 100 + 301,
                                     rate * 207 / 100 + 1013, source.totalSamples() - rate / 3 - 5};
  std::vector<std::unique_ptr<Mp3FrameSource>> pieces;
  for (size_t i = 0; i + 1 < cuts.size(); ++i) {
    const QString path = folder_.path(QStringLiteral("%1_piece%2.mp3").arg(name).arg(i));
    // The piece's edge audio goes with it, as a split puts it in the tag.
    QByteArray edgeAudio;
    const auto keepEdgeAudio = [&edgeAudio](const QByteArray& stored) {
      edgeAudio = stored;
      return QByteArray();
    };
    ASSERT_TRUE(mp3frames::writeMp3Piece(source, cuts[i], cuts[i + 1], path, {}, nullptr, edges, {},
                                         nullptr, nullptr, keepEdgeAudio));
    EXPECT_EQ(edgeAudio.isEmpty(), copiedEdges);
    pieces.push_back(std::make_unique<Mp3FrameSource>(path, edgeAudio));
  }
  const std::vector<JoinSpan> spans = wholeSpans(pieces);
  const SeamlessJoinPlan plan = mp3frames::planSeamlessJoin(spans);
  const QString joined = folder_.path(QStringLiteral("%1_joined.mp3").arg(name));
  ASSERT_TRUE(mp3frames::writeSeamlessJoin(spans, plan, joined, {}));
  const int64_t span = cuts.back() - cuts.front();
  EXPECT_EQ(plan.samples, span);
  // Encoded frames meet the copied ones with matching windows.
  EXPECT_EQ(firstWindowMismatch(Mp3FrameSource(joined)), std::nullopt);
  const int perFrame = source.samplesPerFrame();

  for (const bool ffmpeg : {true, false}) {
    const char* decoder = ffmpeg ? "ffmpeg" : "mpg123";
    const OutsideDecode whole = ffmpeg ? decodeWithFfmpeg(mp3, 2) : decodeWithMpg123(mp3, 2);
    const OutsideDecode out = ffmpeg ? decodeWithFfmpeg(joined, 2) : decodeWithMpg123(joined, 2);
    ASSERT_TRUE(whole.ran && out.ran) << decoder;
    EXPECT_EQ(out.frames(), span) << decoder;
    EXPECT_TRUE(out.warnings.isEmpty()) << decoder << out.warnings.join(u'\n').toStdString();
    for (size_t i = 0; i < plan.parts.size(); ++i) {
      EXPECT_EQ(plan.parts[i].overlap, 0) << "seam " << i;
      // The pieces' own edges are encoded: the first and last few frames
      // are compared by the pieces' tests.
      auto [from, to] = copiedSamples(plan, i, perFrame);
      if (i == 0) from = std::max<int64_t>(from, 4 * perFrame);
      if (i + 1 == plan.parts.size()) to = std::min<int64_t>(to, span - 4 * perFrame);
      ASSERT_LT(from, to);
      EXPECT_LE(largestDifference(out, whole, cuts.front(), from, to),
                ffmpeg ? 0.0f : 1.0f / (1 << 23))
          << decoder << " part " << i;
    }
    for (size_t i = 1; i < plan.parts.size(); ++i) {
      const int64_t seam = plan.parts[i].outputStart;
      const int64_t near = rate / 20;
      const float step = largestStep(out, seam - 576, seam + 576);
      const float own = largestStep(whole, cuts.front() + seam - near, cuts.front() + seam + near);
      // A piece's encoded edges carry the coding noise of a sudden start or
      // stop of sound; its edge audio gives the seam the recording's own
      // samples to encode from, so on a tone the seam meets the step rule
      // (to one 16-bit step: it meets the tone's steepest slope as the
      // source does), where a gap or a misplaced part steps by its level.
      // Over loud noise the seam's frames, encoded again, carry coding noise
      // of their own, and the largest step falls either side of the
      // source's.
      if (noise == kToneOnly) {
        EXPECT_LE(step, own + 1.0f / 32768) << decoder << " seam " << i;
      } else {
        EXPECT_LE(step, 1.1f * own) << decoder << " seam " << i;
      }
      const int64_t encodedFrom = copiedSamples(plan, i - 1, perFrame).second;
      const int64_t encodedTo = copiedSamples(plan, i, perFrame).first;
      const double level = levelDb(out, encodedFrom, encodedTo);
      const double sourceLevel =
          levelDb(whole, cuts.front() + encodedFrom, cuts.front() + encodedTo);
      EXPECT_NEAR(level, sourceLevel, 1.0) << decoder << " seam " << i;
      const double difference =
          differenceLevelDb(out, whole, cuts.front(), encodedFrom, encodedTo);
      std::printf("DIFF %s noise %g seam %zu: %.1f dB under\n", param.name, double{noise}, i, sourceLevel - difference);
      if (ffmpeg)
        std::printf(
            "[ seamless ] %s seam %zu: %lld encoded frames, step %.4f (own %.4f), "
            "level %.2f dB (source %.2f dB)\n",
            param.name, i,
            static_cast<long long>(plan.parts[i].firstFrame + plan.parts[i].frameShift -
                                   plan.parts[i - 1].lastFrame - plan.parts[i - 1].frameShift - 1),
            double{step}, double{own}, level, sourceLevel);
    }
  }
}

// Files encoded on their own cannot meet on one frame grid: each later one
// is crossfaded over less than a frame with the one before, and every other
// frame is copied as it stands.
TEST_P(SeamlessJoinTest, WholeFilesMeetWithoutGapOrClick) {
  for (const float noise : {kNoisy, kToneOnly}) {
    SCOPED_TRACE(noise == kNoisy ? "noisy" : "tone only");
    joinWholeFiles(noise);
  }
}

void SeamlessJoinTest::joinWholeFiles(float noise) {
  const JoinSource& param = GetParam();
  std::vector<std::unique_ptr<Mp3FrameSource>> files;
  for (const double seconds : {1.2071, 0.9413}) {
    const QString path =
        makeLameMp3(folder_.path(), QStringLiteral("file%1_%2").arg(files.size()).arg(noise),
                    seconds, param.sampleRate, 2, param.lameOptions, noise);
    ASSERT_FALSE(path.isEmpty());
    files.push_back(std::make_unique<Mp3FrameSource>(path));
  }
  const std::vector<JoinSpan> spans = wholeSpans(files);
  const SeamlessJoinPlan plan = mp3frames::planSeamlessJoin(spans);
  const QString joined = folder_.path(QStringLiteral("whole%1.mp3").arg(noise));
  ASSERT_TRUE(mp3frames::writeSeamlessJoin(spans, plan, joined, {}));
  const int perFrame = files.front()->samplesPerFrame();
  const int64_t overlap = plan.parts[1].overlap;
  EXPECT_GE(overlap, 0);
  EXPECT_LT(overlap, perFrame);
  const int64_t seam = files[0]->totalSamples();

  const OutsideDecode out = decodeWithFfmpeg(joined, 2);
  const OutsideDecode first = decodeWithFfmpeg(files[0]->fileName(), 2);
  const OutsideDecode second = decodeWithFfmpeg(files[1]->fileName(), 2);
  ASSERT_TRUE(out.ran && first.ran && second.ran);
  EXPECT_EQ(out.frames(), files[0]->totalSamples() + files[1]->totalSamples() - overlap);
  EXPECT_EQ(decodeWithMpg123(joined, 2).frames(), out.frames());
  const auto [from0, to0] = copiedSamples(plan, 0, perFrame);
  const auto [from1, to1] = copiedSamples(plan, 1, perFrame);
  EXPECT_EQ(largestDifference(out, first, 0, from0, to0), 0.0f);
  EXPECT_EQ(largestDifference(out, second, -plan.parts[1].outputStart, from1, to1), 0.0f);
  const int64_t near = param.sampleRate / 20;
  const float step = largestStep(out, seam - overlap - 576, seam + 576);
  const float own = std::max(largestStep(first, seam - near, seam), largestStep(second, 0, near));
  if (noise == kToneOnly) {
    EXPECT_LE(step, own);
  }

  const Mp3FrameSource written(joined);
  EXPECT_EQ(firstWindowMismatch(written), std::nullopt);
  for (size_t i = 0; i < files.size(); ++i) {
    const auto& part = plan.parts[i];
    for (size_t frame = part.firstFrame; frame <= part.lastFrame; ++frame)
      ASSERT_EQ(written.mainData(frame + static_cast<size_t>(part.frameShift)),
                files[i]->mainData(frame))
          << "file " << i << " frame " << frame;
  }
  std::printf("[ seamless ] %s whole files: overlap %lld, step %.4f (own %.4f)\n", param.name,
              static_cast<long long>(overlap), double{step}, double{own});
}

// Parts too short to copy a frame of once their seams, crossfades and fades
// are encoded are refused, naming the file, so the join is encoded instead.
TEST(SeamlessJoinPlan, PartsTooShortToCopyAreRefusedNamingTheFile) {
  TempFolder folder;
  const QString mp3 =
      makeLameMp3(folder.path(), QStringLiteral("short"), 1.3171, 44100, 2, {"-b", "128"});
  ASSERT_FALSE(mp3.isEmpty());
  const Mp3FrameSource source(mp3);
  const int64_t total = source.totalSamples();
  const std::vector<std::pair<std::vector<JoinSpan>, mp3frames::PieceFades>> refused = {
      {{{&source, 0, total}, {&source, 1000, 1000 + 2 * 1152}, {&source, 0, total}}, {}},
      {{{&source, 0, 44100 / 2}, {&source, 0, total}}, {44100, 0}},
      {{{&source, 0, total}, {&source, 501, 44100 / 2}}, {0, 44100}}};
  for (const auto& [spans, fades] : refused) {
    try {
      mp3frames::planSeamlessJoin(spans, fades);
      ADD_FAILURE() << "planned a part too short to copy";
    } catch (const AudioError& error) {
      EXPECT_TRUE(error.message().contains(QStringLiteral("short.mp3"))) << error.what();
    }
  }
  // Long enough, the same parts are planned, each copying frames.
  const SeamlessJoinPlan plan = mp3frames::planSeamlessJoin(
      {{&source, 0, total}, {&source, 1000, 1000 + 8 * 1152}, {&source, 0, total}});
  for (const auto& part : plan.parts) EXPECT_LE(part.firstFrame, part.lastFrame);
}

INSTANTIATE_TEST_SUITE_P(
    LameSources, SeamlessJoinTest,
    ::testing::Values(JoinSource{"cbr128_44k", 44100, {"-b", "128", "--resample", "44.1"}},
                      JoinSource{"vbr_v2_44k", 44100, {"-V", "2", "--resample", "44.1"}},
                      JoinSource{"vbr_22k_mpeg2", 22050, {"-V", "4", "--resample", "22.05"}}),
    [](const ::testing::TestParamInfo<JoinSource>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarvex::testing
