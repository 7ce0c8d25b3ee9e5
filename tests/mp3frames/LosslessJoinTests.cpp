#include "OutsideDecoders.h"
#include "tests/support/LameSources.h"

#include "components/audio/AudioError.h"
#include "components/audio/mp3frames/Mp3FrameSource.h"
#include "components/audio/mp3frames/Mp3LosslessCut.h"
#include "components/audio/mp3frames/Mp3LosslessJoin.h"
#include "tests/support/TempFolder.h"

#include <QFile>

#include <gtest/gtest.h>

#include <cstdio>

namespace tarvex::testing {
namespace {

using mp3frames::Mp3FrameSource;

class LosslessJoinTest : public ::testing::Test {
 protected:
  QString make(const QString& name, double seconds, const QStringList& options, int rate = 44100,
               int channels = 2) {
    return makeLameMp3(folder_.path(), name, seconds, rate, channels, options);
  }
  TempFolder folder_;
};

// The joined stream holds each file's own decoded samples, with the padding
// of the first and the delay of the second between them.
TEST_F(LosslessJoinTest, JoinedFilesDecodeToBothFilesWithTheSeamBetween) {
  const QString first = make(QStringLiteral("a"), 1.3, {"-b", "128", "--resample", "44.1"});
  const QString second = make(QStringLiteral("b"), 0.9, {"-V", "3", "--resample", "44.1"});
  ASSERT_FALSE(first.isEmpty() || second.isEmpty());
  const QString joined = folder_.path(QStringLiteral("joined.mp3"));
  ASSERT_TRUE(mp3frames::joinMp3Lossless({first, second}, joined, {}));

  const Mp3FrameSource a(first);
  const Mp3FrameSource b(second);
  const int64_t rawA = static_cast<int64_t>(a.frames().size()) * a.samplesPerFrame();
  const int64_t seam = rawA - a.endPosition() + b.startPosition();
  const int64_t expected = a.totalSamples() + seam + b.totalSamples();
  float largest = 0.0f;
  for (const bool ffmpeg : {true, false}) {
    const char* decoder = ffmpeg ? "ffmpeg" : "mpg123";
    const OutsideDecode whole = ffmpeg ? decodeWithFfmpeg(joined, 2) : decodeWithMpg123(joined, 2);
    const OutsideDecode alone = ffmpeg ? decodeWithFfmpeg(first, 2) : decodeWithMpg123(first, 2);
    const OutsideDecode after = ffmpeg ? decodeWithFfmpeg(second, 2) : decodeWithMpg123(second, 2);
    ASSERT_TRUE(whole.ran && alone.ran && after.ran) << decoder;
    EXPECT_EQ(whole.frames(), expected) << decoder;
    EXPECT_TRUE(whole.warnings.isEmpty()) << decoder << whole.warnings.join(u'\n').toStdString();
    const SampleDifference head = compareRange(alone, whole, 0);
    const SampleDifference tail = compareRange(after, whole, a.totalSamples() + seam);
    EXPECT_EQ(head.largest, 0.0f) << decoder << " first file, frame " << head.atFrame;
    EXPECT_EQ(tail.largest, 0.0f) << decoder << " second file, frame " << tail.atFrame;
    largest = std::max({largest, head.largest, tail.largest});
  }
  std::printf("[ lossless ] join: largest sample difference %g\n", largest);
}

TEST_F(LosslessJoinTest, JoiningTheContiguousPiecesOfAFileKeepsEveryPiece) {
  const QString source = make(QStringLiteral("src"), 2.0, {"-b", "96", "--resample", "44.1"});
  ASSERT_FALSE(source.isEmpty());
  const Mp3FrameSource indexed(source);
  const QString one = folder_.path(QStringLiteral("one.mp3"));
  const QString two = folder_.path(QStringLiteral("two.mp3"));
  ASSERT_TRUE(mp3frames::writeMp3Piece(indexed, 0, 40000, one, {}));
  ASSERT_TRUE(mp3frames::writeMp3Piece(indexed, 40000, indexed.totalSamples(), two, {}));
  const QString joined = folder_.path(QStringLiteral("joined.mp3"));
  ASSERT_TRUE(mp3frames::joinMp3Lossless({one, two}, joined, {}));
  const OutsideDecode whole = decodeWithFfmpeg(joined, 2);
  const OutsideDecode first = decodeWithFfmpeg(one, 2);
  ASSERT_TRUE(whole.ran && first.ran);
  EXPECT_TRUE(whole.warnings.isEmpty()) << whole.warnings.join(u'\n').toStdString();
  EXPECT_EQ(compareRange(first, whole, 0).largest, 0.0f);
  EXPECT_GT(whole.frames(), indexed.totalSamples());  // the seam's delay and padding stay
}

TEST_F(LosslessJoinTest, MismatchedFilesAreRefusedNamingTheFile) {
  const QString stereo = make(QStringLiteral("stereo"), 0.5, {"-b", "128", "--resample", "44.1"});
  const QString mono =
      make(QStringLiteral("mono"), 0.5, {"-b", "64", "-m", "m", "--resample", "44.1"}, 44100, 1);
  const QString other = make(QStringLiteral("rate"), 0.5, {"-b", "128", "--resample", "48"}, 48000);
  ASSERT_FALSE(stereo.isEmpty() || mono.isEmpty() || other.isEmpty());
  EXPECT_TRUE(mp3frames::losslessJoinRefusal({stereo, stereo}).isEmpty());
  EXPECT_TRUE(mp3frames::losslessJoinRefusal({stereo, mono}).contains(QStringLiteral("mono.mp3")));
  EXPECT_TRUE(mp3frames::losslessJoinRefusal({stereo, other}).contains(QStringLiteral("48000")));
  const QString output = folder_.path(QStringLiteral("out.mp3"));
  try {
    mp3frames::joinMp3Lossless({stereo, mono}, output, {});
    ADD_FAILURE() << "a mono file was joined to a stereo one";
  } catch (const AudioError& error) {
    EXPECT_TRUE(error.message().contains(QStringLiteral("mono.mp3"))) << error.what();
  }
  EXPECT_FALSE(QFile::exists(output));
}

}  // namespace
}  // namespace tarvex::testing
