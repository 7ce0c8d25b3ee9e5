#include <gtest/gtest.h>
#include <QDir>
#include <QFile>

#include "processing/OutputNaming.h"
#include "tests/support/TempFolder.h"

namespace tarvex {
namespace {

using testing::TempFolder;

void touch(const QString& path) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
  file.write("x");
}

TEST(OutputNaming, StemIsTheCaptionBeforeItsFirstDotUnlessTheDotLeads) {
  EXPECT_EQ(outputStem("live.at.home"), "live");
  EXPECT_EQ(outputStem("song.mp3"), "song");
  EXPECT_EQ(outputStem("a.b"), "a");
  EXPECT_EQ(outputStem("no dots"), "no dots");
  EXPECT_EQ(outputStem(".hidden.mp3"), ".hidden.mp3");
}

TEST(OutputNaming, CountsOnPastEveryTakenNameEvenBeyondAHundred) {
  TempFolder folder;
  const QString dir = folder.path() + '/';
  EXPECT_EQ(MakeOutputName("live.at.home", dir, ".mp3"), dir + "live_1.mp3");
  for (int n = 1; n <= 101; ++n) touch(dir + QStringLiteral("live_%1.mp3").arg(n));
  EXPECT_EQ(MakeOutputName("live.at.home", dir, ".mp3"), dir + "live_102.mp3");
  // Another extension has its own numbering.
  EXPECT_EQ(MakeOutputName("live.at.home", dir, ".wav"), dir + "live_1.wav");
}

TEST(OutputNaming, LinksAndFoldersCountAsTakenNames) {
  TempFolder folder;
  const QString dir = folder.path() + '/';
  ASSERT_TRUE(QFile::link(dir + "nowhere", dir + "x_1.mp3"));  // a broken link
  ASSERT_TRUE(QDir().mkpath(dir + "x_2.mp3"));
  EXPECT_EQ(MakeOutputName("x", dir, ".mp3"), dir + "x_3.mp3");
}

TEST(OutputNaming, ForbiddenCharactersAreRemovedFromEveryCandidate) {
  TempFolder folder;
  const QString dir = folder.path() + '/';
  EXPECT_EQ(MakeOutputName("Act: One?", dir, ".mp3"), dir + "Act One_1.mp3");
  touch(dir + "Act One_1.mp3");
  EXPECT_EQ(MakeOutputName("Act: One?", dir, ".mp3"), dir + "Act One_2.mp3");
}

TEST(OutputNaming, ACaptionStartingWithADotKeepsItsNumber) {
  TempFolder folder;
  const QString dir = folder.path() + '/';
  EXPECT_EQ(MakeOutputName(".intro", dir, ".mp3"), dir + ".intro_1.mp3");
  touch(dir + ".intro_1.mp3");
  EXPECT_EQ(MakeOutputName(".intro", dir, ".mp3"), dir + ".intro_2.mp3");
}

TEST(OutputNaming, LongNamesAreShortenedOnACharacterBoundaryKeepingNumberAndExtension) {
  TempFolder folder;
  const QString dir = folder.path() + '/';
  // 200 two-byte characters and a four-byte one at the cut.
  const QString caption = QString(120, QChar(0x00E9)) + QString::fromUtf8("\xF0\x9F\x8E\xB5") +
                          QString(120, QChar(0x00E9));
  const QString path = MakeOutputName(caption, dir, ".mp3");
  const QString name = path.mid(dir.size());
  EXPECT_LE(name.toUtf8().size(), kMaxFileNameBytes);
  EXPECT_GT(name.toUtf8().size(), kMaxFileNameBytes - 4);
  EXPECT_TRUE(name.endsWith("_1.mp3"));
  EXPECT_FALSE(name.contains(QChar(0xFFFD)));
  EXPECT_EQ(QString::fromUtf8(name.toUtf8()), name) << "no character cut in two";
  touch(path);  // the file system takes the shortened name
  EXPECT_TRUE(QFile::exists(path));
  EXPECT_TRUE(MakeOutputName(caption, dir, ".mp3").endsWith("_2.mp3"));
}

TEST(OutputNaming, FallbackUsesTheSourceNameButNeverAnExistingFile) {
  TempFolder folder;
  const QString dir = folder.path() + '/';
  EXPECT_EQ(fallbackOutputName("/music/take.one.mp3", dir, ".wav"), dir + "take.one.wav");
  // In the source's own folder the source itself is never the fallback.
  touch(dir + "take.one.mp3");
  EXPECT_EQ(fallbackOutputName(dir + "take.one.mp3", dir, ".mp3"), dir + "take.one_1.mp3");
}

TEST(OutputNaming, JoinNamesGetTheExtensionOnlyWhenMissing) {
  EXPECT_EQ(joinOutputPath("/out/mix", ".mp3"), "/out/mix.mp3");
  EXPECT_EQ(joinOutputPath("/out/mix.mp3", ".mp3"), "/out/mix.mp3");
  EXPECT_EQ(joinOutputPath("/out/MIX.MP3", ".mp3"), "/out/MIX.MP3");
  EXPECT_EQ(joinOutputPath("/out/mix.wav", ".mp3"), "/out/mix.wav.mp3");
}

}  // namespace
}  // namespace tarvex
