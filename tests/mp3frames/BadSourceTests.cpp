#include "tests/support/LameSources.h"

#include "components/audio/AudioError.h"
#include "components/audio/mp3frames/Mp3FrameSource.h"
#include "components/audio/mp3frames/Mp3LosslessCut.h"
#include "tests/support/TempFolder.h"

#include <QFile>

#include <gtest/gtest.h>

#include <atomic>

namespace tarvex::testing {
namespace {

using mp3frames::Mp3FrameSource;

QByteArray readAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

// The message of the AudioError `action` throws ("" when none).
template <typename Action>
QString errorOf(Action action) {
  try {
    action();
  } catch (const AudioError& error) {
    return error.message();
  }
  return {};
}

class BadSourceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    source_ = makeLameMp3(folder_.path(), QStringLiteral("good"), 1.5, 44100, 2,
                          {"-b", "128", "--resample", "44.1"});
    ASSERT_FALSE(source_.isEmpty());
  }
  TempFolder folder_;
  QString source_;
};

TEST_F(BadSourceTest, NonMp3EmptyAndMissingFilesGiveAMessageNamingTheFile) {
  const QString text = folder_.path(QStringLiteral("notes.mp3"));
  writeAll(text, QByteArray(5000, 'x'));
  const QString empty = folder_.path(QStringLiteral("empty.mp3"));
  writeAll(empty, {});
  for (const QString& path : {text, empty, folder_.path(QStringLiteral("missing.mp3"))}) {
    const QString message = errorOf([&] { Mp3FrameSource source(path); });
    EXPECT_TRUE(message.contains(path)) << message.toStdString();
    EXPECT_EQ(mp3frames::losslessCutRefusal(path), message);
  }
}

TEST_F(BadSourceTest, TruncatedAndDamagedSourcesStillCutWithinWhatRemains) {
  const QByteArray bytes = readAll(source_);
  const QString truncated = folder_.path(QStringLiteral("truncated.mp3"));
  writeAll(truncated, bytes.left(bytes.size() / 2 + 77));  // ends inside a frame
  const Mp3FrameSource cut(truncated);
  EXPECT_GT(cut.totalSamples(), 0);
  EXPECT_LT(cut.totalSamples(), Mp3FrameSource(source_).totalSamples());
  EXPECT_TRUE(mp3frames::writeMp3Piece(cut, 100, cut.totalSamples() / 2,
                                       folder_.path(QStringLiteral("p1.mp3")), {}));
  // A piece past the end that remains is refused by name, and nothing is left.
  const QString beyond = folder_.path(QStringLiteral("p2.mp3"));
  const QString message =
      errorOf([&] { mp3frames::writeMp3Piece(cut, 0, cut.totalSamples() + 1, beyond, {}); });
  EXPECT_TRUE(message.contains(truncated)) << message.toStdString();
  EXPECT_FALSE(QFile::exists(beyond));

  QByteArray damaged = bytes;
  for (int i = 0; i < 700; ++i) damaged[bytes.size() / 3 + i] = static_cast<char>(i * 37);
  const QString damagedPath = folder_.path(QStringLiteral("damaged.mp3"));
  writeAll(damagedPath, damaged);
  const Mp3FrameSource stepped(damagedPath);
  EXPECT_GT(stepped.skippedBytes(), 0);
  EXPECT_TRUE(mp3frames::losslessCutRefusal(damagedPath).isEmpty());
  EXPECT_TRUE(mp3frames::writeMp3Piece(stepped, 0, stepped.totalSamples(),
                                       folder_.path(QStringLiteral("p3.mp3")), {}));
}

TEST_F(BadSourceTest, FreeFormatIsRefusedNamingTheFile) {
  const QString free = makeLameMp3(folder_.path(), QStringLiteral("free"), 0.5, 44100, 2,
                                   {"--freeformat", "-b", "400", "--resample", "44.1"});
  if (free.isEmpty()) GTEST_SKIP() << "this lame makes no free-format files";
  const QString message = errorOf([&] { Mp3FrameSource source(free); });
  EXPECT_TRUE(message.contains(free)) << message.toStdString();
  EXPECT_TRUE(message.contains(QStringLiteral("free-format"))) << message.toStdString();
}

TEST_F(BadSourceTest, AnExistingOutputIsLeftAloneAndAStopLeavesNothing) {
  const Mp3FrameSource source(source_);
  const QString existing = folder_.path(QStringLiteral("existing.mp3"));
  writeAll(existing, "keep me");
  const QString message = errorOf([&] { mp3frames::writeMp3Piece(source, 0, 1000, existing, {}); });
  EXPECT_TRUE(message.contains(existing)) << message.toStdString();
  EXPECT_EQ(readAll(existing), QByteArray("keep me"));

  // An empty piece is refused rather than written as a stub.
  const QString empty = folder_.path(QStringLiteral("empty.mp3"));
  EXPECT_TRUE(
      errorOf([&] { mp3frames::writeMp3Piece(source, 500, 500, empty, {}); }).contains(source_));
  EXPECT_FALSE(QFile::exists(empty));

  std::atomic<bool> stop{true};
  const QString stopped = folder_.path(QStringLiteral("stopped.mp3"));
  EXPECT_FALSE(mp3frames::writeMp3Piece(source, 0, 1000, stopped, {}, &stop));
  EXPECT_FALSE(QFile::exists(stopped));

  const QString unwritable = folder_.path(QStringLiteral("no/such/folder/piece.mp3"));
  EXPECT_TRUE(errorOf([&] {
                mp3frames::writeMp3Piece(source, 0, 1000, unwritable, {});
              }).contains(QStringLiteral("piece.mp3")));
}

}  // namespace
}  // namespace tarvex::testing
