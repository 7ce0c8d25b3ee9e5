#include <gtest/gtest.h>
#include <QDir>
#include <QFile>

#include "platform/PrivateProfile.h"
#include "tests/support/TempFolder.h"

namespace tarvex {
namespace {

using testing::readText;
using testing::TempFolder;
using testing::writeText;

TEST(PrivateProfile, MissingFileSectionOrKeyReadsAsAbsent) {
  TempFolder folder;
  PrivateProfile profile(folder.path("none.ini"));
  EXPECT_FALSE(profile.readString("Output", "Dir").has_value());
  writeText(folder.path("some.ini"), "[Output]\nDir=/music/\n");
  PrivateProfile some(folder.path("some.ini"));
  EXPECT_FALSE(some.readString("Fade", "In").has_value());
  EXPECT_FALSE(some.readString("Output", "Other").has_value());
  EXPECT_EQ(*some.readString("Output", "Dir"), "/music/");
}

TEST(PrivateProfile, NamesMatchWithoutRegardToCase) {
  TempFolder folder;
  writeText(folder.path("a.ini"), "[mp3VBR]\nCODING METHOD = 3 \n");
  PrivateProfile profile(folder.path("a.ini"));
  EXPECT_EQ(*profile.readString("MP3VBR", "Coding Method"), "3");
  profile.writeString("MP3VBR", "Coding Method", "2");
  // The existing key is replaced (written in the case given), not duplicated.
  EXPECT_EQ(readText(folder.path("a.ini")), "[mp3VBR]\nCoding Method=2\n");
}

TEST(PrivateProfile, WritesCreateFolderFileSectionsAndKeysInOrder) {
  TempFolder folder;
  const QString path = folder.path("new/sub/Quillmere.ini");
  PrivateProfile profile(path);
  profile.writeString("Function", "Choice", "0");
  profile.writeString("Output", "Dir", "/m/");
  profile.writeString("Function", "Extra", "x");
  EXPECT_EQ(readText(path), "[Function]\nChoice=0\nExtra=x\n[Output]\nDir=/m/\n");
}

TEST(PrivateProfile, UnknownContentCommentsAndBlankLinesSurviveWrites) {
  TempFolder folder;
  const QString path = folder.path("keep.ini");
  const QString original =
      "; written by hand\n[Other]\nfoo = bar\n\n[Fade]\n; comment "
      "inside\nIn=0\n\nOut=1\n\n[Tail]\nz=1\n";
  writeText(path, original);
  PrivateProfile profile(path);
  profile.writeString("Fade", "In", "1");
  profile.writeString("Fade", "Intime", "7");
  EXPECT_EQ(readText(path),
            "; written by hand\n[Other]\nfoo = bar\n\n[Fade]\n; comment inside\nIn=1\n\nOut=1\n"
            "Intime=7\n\n[Tail]\nz=1\n");
}

TEST(PrivateProfile, KeepsWindowsLineEnds) {
  TempFolder folder;
  const QString path = folder.path("crlf.ini");
  writeText(path, "[A]\r\nb=1\r\n");
  PrivateProfile(path).writeString("A", "c", "2");
  EXPECT_EQ(readText(path), "[A]\r\nb=1\r\nc=2\r\n");
}

TEST(PrivateProfile, LongValuesAreCutWhenRead) {
  TempFolder folder;
  PrivateProfile profile(folder.path("long.ini"));
  profile.writeString("Main", "Path", QString(3000, QLatin1Char('a')));
  EXPECT_EQ(profile.readString("Main", "Path")->size(), PrivateProfile::kMaxValueLength);
}

TEST(PrivateProfile, ValuesWithEqualsSignsAndUnicodeRoundTrip) {
  TempFolder folder;
  PrivateProfile profile(folder.path("u.ini"));
  const QString value = QString::fromUtf8("/home/ä/Музыка/a=b/🎵/");
  profile.writeString("Output", "Dir", value);
  EXPECT_EQ(*profile.readString("output", "dir"), value);
}

TEST(PrivateProfile, RefusedWritesRaiseAndLeaveTheFileAlone) {
  TempFolder folder;
  const QString path = folder.path("ro.ini");
  writeText(path, "[A]\nb=1\n");
  QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadUser);
  PrivateProfile profile(path);
  try {
    profile.writeString("A", "b", "2");
    FAIL() << "the write should have been refused";
  } catch (const PrivateProfileError& error) {
    EXPECT_STREQ(error.what(), "Unable to write to ro.ini");
  }
  EXPECT_EQ(readText(path), "[A]\nb=1\n");
}

TEST(PrivateProfile, AFolderInPlaceOfTheFileIsRefused) {
  TempFolder folder;
  const QString path = folder.path("Quillmere.ini");
  ASSERT_TRUE(QDir().mkdir(path));
  PrivateProfile profile(path);
  EXPECT_FALSE(profile.readString("A", "b").has_value());
  EXPECT_THROW(profile.writeString("A", "b", "1"), PrivateProfileError);
}

}  // namespace
}  // namespace tarvex
