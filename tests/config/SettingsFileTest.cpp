#include <gtest/gtest.h>
#include <QFile>

#include "config/SettingsFile.h"
#include "tests/support/TempFolder.h"

namespace tarvex {
namespace {

using testing::readText;
using testing::TempFolder;
using testing::writeText;

class SettingsFileTest : public ::testing::Test {
 protected:
  SettingsFile withContent(const QString& text) {
    writeText(folder.path("Quillmere.ini"), text);
    return SettingsFile(folder.path("Quillmere.ini"));
  }
  TempFolder folder;
};

TEST_F(SettingsFileTest, IntegersReadDecimalHexAndNegatives) {
  const SettingsFile settings =
      withContent("[S]\na=42\nb=-1\nc=0x10\nd=0X1f\ne=0x\nf=12a\ng=\nh= 7 \ni=99999999999\n");
  EXPECT_EQ(settings.GetInt("S", "a", 0), 42);
  EXPECT_EQ(settings.GetInt("S", "b", 0), -1);
  EXPECT_EQ(settings.GetInt("S", "c", 0), 16);
  EXPECT_EQ(settings.GetInt("S", "d", 0), 31);
  EXPECT_EQ(settings.GetInt("S", "e", 5), 5) << "\"0x\" alone is not a number";
  EXPECT_EQ(settings.GetInt("S", "f", 5), 5);
  EXPECT_EQ(settings.GetInt("S", "g", 5), 5);
  EXPECT_EQ(settings.GetInt("S", "h", 5), 7);
  EXPECT_EQ(settings.GetInt("S", "i", 5), 5) << "too large for 32 bits";
  EXPECT_EQ(settings.GetInt("S", "missing", 60), 60);
}

TEST_F(SettingsFileTest, BooleansAreIntegersAndAnyNonZeroIsTrue) {
  const SettingsFile settings = withContent("[Fade]\nIn=2\nOut=-1\nx=0\ny=yes\nz=0x0\n");
  EXPECT_TRUE(settings.GetBool("Fade", "In", false));
  EXPECT_TRUE(settings.GetBool("Fade", "Out", false));
  EXPECT_FALSE(settings.GetBool("Fade", "x", true));
  EXPECT_TRUE(settings.GetBool("Fade", "y", true)) << "a word reads as the default";
  EXPECT_FALSE(settings.GetBool("Fade", "y", false));
  EXPECT_FALSE(settings.GetBool("Fade", "z", true));
}

TEST_F(SettingsFileTest, WritesUseTheDocumentedEncodings) {
  SettingsFile settings(folder.path("Quillmere.ini"));
  settings.PutInt("Choice", "time", -15);
  settings.PutBool("Fade", "In", true);
  settings.PutBool("Fade", "Out", false);
  settings.PutText("Output", "Dir", "/home/u/Music/");
  EXPECT_EQ(readText(folder.path("Quillmere.ini")),
            "[Choice]\ntime=-15\n[Fade]\nIn=1\nOut=0\n[Output]\nDir=/home/u/Music/\n");
  EXPECT_EQ(settings.GetInt("choice", "TIME", 0), -15);
  EXPECT_EQ(settings.GetText("OUTPUT", "dir", ""), "/home/u/Music/");
}

TEST_F(SettingsFileTest, EveryReadSeesTheFileAsItIsNow) {
  SettingsFile settings(folder.path("Quillmere.ini"));
  settings.PutInt("mp3", "bitrate", 9);
  EXPECT_EQ(settings.GetInt("mp3", "bitrate", 0), 9);
  writeText(folder.path("Quillmere.ini"), "[mp3]\nbitrate=3\n");
  EXPECT_EQ(settings.GetInt("mp3", "bitrate", 0), 3);
}

TEST_F(SettingsFileTest, ARefusedWriteNamesTheFile) {
  const SettingsFile settings = withContent("[A]\nb=1\n");
  QFile::setPermissions(folder.path("Quillmere.ini"), QFile::ReadOwner | QFile::ReadUser);
  try {
    settings.PutInt("A", "b", 2);
    FAIL() << "expected a refusal";
  } catch (const SettingsWriteError& error) {
    EXPECT_STREQ(error.what(), "Unable to write to Quillmere.ini");
  }
  EXPECT_EQ(settings.GetInt("A", "b", 0), 1);
}

}  // namespace
}  // namespace tarvex
