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
