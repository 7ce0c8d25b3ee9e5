#include "tests/support/LameSources.h"

#include "components/audio/mp3frames/EdgeAudio.h"
#include "components/audio/mp3frames/Mp3FrameSource.h"
#include "components/audio/mp3frames/Mp3LosslessCut.h"
#include "components/audio/mp3frames/SourcePcm.h"
#include "tests/support/TempFolder.h"

#include <QtEndian>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace tarvex::testing {
namespace {

using mp3frames::EdgeAudio;
using mp3frames::EdgeAudioStretch;
using mp3frames::Mp3FrameSource;

float largestDifference(const std::vector<float>& a, const std::vector<float>& b) {
  float largest = 0.0f;
  for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
    largest = std::max(largest, std::fabs(a[i] - b[i]));
  return largest;
}

// Writes the piece [first, end) of `source` with encoded edges and returns
// the edge audio its tag would carry (empty when the write failed).
QByteArray writePiece(const Mp3FrameSource& source, int64_t first, int64_t end,
                      const QString& path) {
  QByteArray edgeAudio;
  const bool written = mp3frames::writeMp3Piece(source, first, end, path, {}, nullptr,
                                                mp3frames::PieceEdges::Reencoded, {}, nullptr,
                                                nullptr, [&edgeAudio](const QByteArray& audio) {
                                                  edgeAudio = audio;
                                                  return QByteArray();
                                                });
  return written ? edgeAudio : QByteArray();
}

// Stored edge audio comes from a file's tag, which anyone may have written:
// what is not well formed reads as nothing, never as stretches out of bounds.
TEST(EdgeAudioStore, ReadsBackWhatItStoredAndNothingFromDamagedBytes) {
  EdgeAudio audio;
  audio.channels = 2;
  EdgeAudioStretch head;
  head.rawBegin = 1105;
  head.firstFrame = 0;
  head.frameCount = 4;
  head.framesHash = 0x0123456789abcdefull;
  head.difference = {1, -1, 300, -300, 0, 7};
  EdgeAudioStretch tail = head;
  tail.rawBegin = 40000;
  tail.firstFrame = 31;
  tail.difference = {-32768, 32767};
  audio.stretches = {head, tail};
  const QByteArray stored = mp3frames::storeEdgeAudio(audio);

  const EdgeAudio read = mp3frames::readEdgeAudio(stored);
  ASSERT_EQ(read.channels, 2);
  ASSERT_EQ(read.stretches.size(), 2u);
  EXPECT_EQ(read.stretches[0].rawBegin, 1105);
  EXPECT_EQ(read.stretches[0].framesHash, head.framesHash);
  EXPECT_EQ(read.stretches[0].difference, head.difference);
  EXPECT_EQ(read.stretches[1].firstFrame, 31u);
  EXPECT_EQ(read.stretches[1].difference, tail.difference);

  for (qsizetype length = 0; length < stored.size(); length += 3)
    EXPECT_TRUE(mp3frames::readEdgeAudio(stored.left(length)).stretches.empty()) << length;
  QByteArray otherMagic = stored;
  otherMagic[0] = 'X';
  EXPECT_TRUE(mp3frames::readEdgeAudio(otherMagic).stretches.empty());
  // A compressed block that claims to unpack to gigabytes is not unpacked.
  QByteArray huge = stored.left(5);
  char size[4];
  qToLittleEndian<quint32>(0xFFFFFFF0u, size);
  huge.append(size, 4).append(stored.mid(9));
  EXPECT_TRUE(mp3frames::readEdgeAudio(huge).stretches.empty());
  // A stretch placed where its end would not even be a number.
  EdgeAudio far = audio;
  far.stretches[1].rawBegin = INT64_MAX - 1;
  EXPECT_TRUE(mp3frames::readEdgeAudio(mp3frames::storeEdgeAudio(far)).stretches.empty());
  // An odd count of values for two channels.
  EdgeAudio odd = audio;
  odd.stretches[0].difference.pop_back();
  EXPECT_TRUE(mp3frames::readEdgeAudio(mp3frames::storeEdgeAudio(odd)).stretches.empty());
}

// A bare tone: its encoded edges' coding noise stands out. At a low
// variable bitrate the frames are a few dozen bytes and the bit reservoir
// reaches many frames back.
struct PieceSource {
  const char* name;
  int sampleRate;
  QStringList lameOptions;
};

class EdgeAudioOfAPiece : public ::testing::TestWithParam<PieceSource> {};

// A piece with encoded edges, opened with its edge audio, decodes to its
// source's very samples over its whole span, edges included, and to silence
// before and after it, and so does a piece cut from it; edge audio measured
// on other frames is not used.
TEST_P(EdgeAudioOfAPiece, GivesBackTheSourceSamplesOnlyForItsOwnFrames) {
  const PieceSource& param = GetParam();
  TempFolder folder;
  const QString mp3 = makeLameMp3(folder.path(), QStringLiteral("tone"), 2.3719, param.sampleRate,
                                  2, param.lameOptions, 0.0f);
  ASSERT_FALSE(mp3.isEmpty());
  const Mp3FrameSource source(mp3);
  std::vector<QByteArray> stored;
  std::vector<QString> paths;
  for (const auto& [first, end] : {std::pair<int64_t, int64_t>{9157, 30011}, {30011, 41203}}) {
    paths.push_back(folder.path(QStringLiteral("piece%1.mp3").arg(first)));
    const QByteArray edgeAudio = writePiece(source, first, end, paths.back());
    ASSERT_FALSE(edgeAudio.isEmpty());
    stored.push_back(edgeAudio);
  }

  const Mp3FrameSource piece(paths[0], stored[0]);
  EXPECT_EQ(piece.edgeAudio().stretches.size(), 2u);
  const int64_t samples = 30011 - 9157;
  ASSERT_EQ(piece.totalSamples(), samples);
  const std::vector<float> wanted = mp3frames::decodeRawSpan(source, source.startPosition() + 9157,
                                                             source.startPosition() + 30011);
  const std::vector<float> given =
      mp3frames::decodeRawSpan(piece, piece.startPosition(), piece.endPosition());
  EXPECT_LE(largestDifference(given, wanted), 1.0f / 32768);
  const std::vector<float> bare = mp3frames::decodeRawSpan(
      Mp3FrameSource(paths[0]), piece.startPosition(), piece.endPosition());
  EXPECT_GT(largestDifference(bare, wanted), 8.0f / 32768) << "the edges hold no coding noise";
  const int64_t framesEnd = static_cast<int64_t>(piece.frames().size()) * piece.samplesPerFrame();
  const std::vector<float> silent = mp3frames::decodeRawSpan(piece, 0, piece.startPosition());
  const std::vector<float> after = mp3frames::decodeRawSpan(piece, piece.endPosition(), framesEnd);
  EXPECT_LE(largestDifference(silent, std::vector<float>(silent.size())), 1.0f / 32768);
  EXPECT_LE(largestDifference(after, std::vector<float>(after.size())), 1.0f / 32768);

  // A piece cut from the start of the piece copies its encoded head, and
  // takes over what the piece's edge audio held for it.
  const QString again = folder.path(QStringLiteral("again.mp3"));
  const Mp3FrameSource cutAgain(again, writePiece(piece, 0, 12007, again));
  EXPECT_LE(largestDifference(mp3frames::decodeRawSpan(cutAgain, cutAgain.startPosition(),
                                                       cutAgain.endPosition()),
                              mp3frames::decodeRawSpan(source, source.startPosition() + 9157,
                                                       source.startPosition() + 9157 + 12007)),
            1.0f / 32768);

  EXPECT_TRUE(Mp3FrameSource(paths[1], stored[0]).edgeAudio().stretches.empty());
  EXPECT_TRUE(Mp3FrameSource(paths[0], stored[1]).edgeAudio().stretches.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Tones, EdgeAudioOfAPiece,
    ::testing::Values(PieceSource{"cbr64_22k_mpeg2", 22050, {"-b", "64"}},
                      PieceSource{"vbr9_44k", 44100, {"-V", "9", "--resample", "44.1"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarvex::testing
