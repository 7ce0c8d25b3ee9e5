// Creating outputs only where nothing is: the guarantee parallel pieces rely on.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "components/audio/AudioError.h"
#include "processing/ExclusiveOutput.h"
#include "tests/support/TempFolder.h"

namespace tarvex::testing {
namespace {

TEST(ExclusiveOutputTest, CreatesOnlyWhereNothingIsNotEvenABrokenLink) {
  TempFolder folder;
  EXPECT_EQ(createExclusively(folder.path("new.mp3")).creation, ExclusiveCreation::Created);
  EXPECT_TRUE(QFileInfo::exists(folder.path("new.mp3")));
  EXPECT_EQ(createExclusively(folder.path("new.mp3")).creation, ExclusiveCreation::Taken);

  writeText(folder.path("mine.mp3"), "mine");
  EXPECT_EQ(createExclusively(folder.path("mine.mp3")).creation, ExclusiveCreation::Taken);
  EXPECT_EQ(readText(folder.path("mine.mp3")), "mine");

  ASSERT_TRUE(QFile::link(folder.path("nowhere"), folder.path("dangling.mp3")));
  EXPECT_EQ(createExclusively(folder.path("dangling.mp3")).creation, ExclusiveCreation::Taken);
  EXPECT_FALSE(QFileInfo::exists(folder.path("nowhere")));

  const ExclusiveResult refused = createExclusively(folder.path("no folder/x.mp3"));
  EXPECT_EQ(refused.creation, ExclusiveCreation::Refused);
  EXPECT_NE(refused.errorNumber, 0);
}

TEST(ExclusiveOutputTest, ATakenNameCountsOnFromOneLikeTheNaming) {
  TempFolder folder;
  const QString dir = folder.path() + QLatin1Char('/');
  writeText(dir + "song_1.mp3", "old 1");
  writeText(dir + "song_3.mp3", "old 3");
  EXPECT_EQ(createFirstFreeOutput(dir + "song_3.mp3", "song", dir, ".mp3"), dir + "song_2.mp3");
  EXPECT_EQ(createFirstFreeOutput(dir + "song_3.mp3", "song", dir, ".mp3"), dir + "song_4.mp3");
  EXPECT_EQ(createFirstFreeOutput(dir + "song_9.mp3", "song", dir, ".mp3"), dir + "song_9.mp3");
  EXPECT_EQ(readText(dir + "song_3.mp3"), "old 3");
  EXPECT_THROW(createFirstFreeOutput(dir + "none/song_1.mp3", "song", dir + "none/", ".mp3"),
               AudioError);
}

}  // namespace
}  // namespace tarvex::testing
