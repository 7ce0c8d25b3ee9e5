#include <gtest/gtest.h>
#include <QDir>

#include "platform/ProgramDataFolder.h"
#include "tests/support/TempFolder.h"

namespace tarvex {
namespace {

using testing::TempFolder;

QString nativeFolder(const QString& folder) {
  return QDir::toNativeSeparators(QDir::cleanPath(folder)) + QDir::separator();
}

class ProgramDataFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(QDir().mkpath(root_.path("usr/bin")));
    ASSERT_TRUE(QDir().mkpath(root_.path("usr/share/tarvex/help")));
  }
  QString bin() const { return root_.path("usr/bin"); }
  QString data() const { return root_.path("usr/share/tarvex"); }
  TempFolder root_;
};

TEST_F(ProgramDataFolderTest, AnInstalledProgramFindsItsDataFolderBesideItsBinFolder) {
  testing::writeText(data() + "/mp3enc.dll", "skin");
  EXPECT_EQ(programDataFolder(bin(), "../share/tarvex"), nativeFolder(data()));
  // The absolute form (a program moved away from its prefix) works too.
  EXPECT_EQ(programDataFolder(root_.path("elsewhere"), data()), nativeFolder(data()));
}

TEST_F(ProgramDataFolderTest, ABuildTreeKeepsTheSkinBesideTheProgram) {
  testing::writeText(bin() + "/mp3enc.dll", "build tree skin");
  testing::writeText(data() + "/mp3enc.dll", "installed skin");
  EXPECT_EQ(programDataFolder(bin(), "../share/tarvex"), nativeFolder(bin()));
}

TEST_F(ProgramDataFolderTest, WithNoSkinAnywhereTheProgramFolderIsGiven) {
  // A folder named like the skin file is not one.
  ASSERT_TRUE(QDir().mkpath(data() + "/mp3enc.dll"));
  EXPECT_EQ(programDataFolder(bin(), "../share/tarvex"), nativeFolder(bin()));
  EXPECT_EQ(programDataFolder(bin(), QString()), nativeFolder(bin()));
}

}  // namespace
}  // namespace tarvex
