#include <gtest/gtest.h>

#include "config/MainSettings.h"
#include "tests/support/TempFolder.h"

namespace tarvex {
namespace {

using testing::readText;
using testing::TempFolder;
using testing::writeText;

MainSettings loaded(const SettingsFile& file) {
  return mainSettingsFrom(
      LoadSettings(file, SettingGroup::MainWindow, SettingsReader::SettingsDialog));
}

TEST(MainSettingsTest, AFreshStructHoldsWhatAFileWithoutKeysReads) {
  // The struct's own defaults and the schema's missing-key defaults are one
  // set of choices: a window that never loaded starts as a first run would.
  TempFolder folder;
  EXPECT_EQ(loaded(SettingsFile(folder.path("none.ini"))), MainSettings{});
}

TEST(MainSettingsTest, EveryChoiceRoundTripsThroughTheFile) {
  TempFolder folder;
  const SettingsFile file(folder.path("Quillmere.ini"));
  MainSettings choices;
  choices.splitFunction = SplitFunction::Unification;
  choices.outputDir = QStringLiteral("/music/out ü/");
  choices.pieceSeconds = 17;
  choices.pieceCount = 3;
  choices.fadeIn = true;
  choices.fadeOut = true;
  choices.fadeInSeconds = 2;
  choices.fadeOutSeconds = 19;
  choices.skinFlag = true;
  choices.namePiecesByTitle = true;
  choices.formatIndex = 4;
  StoreSettings(file, settingsValuesOf(choices), SettingGroup::MainWindow);
  EXPECT_EQ(loaded(file), choices);
  EXPECT_TRUE(readText(file.filePath()).contains("TitleNames=1\nFormat=4\n"));
}

TEST(MainSettingsTest, HandEditedValuesReadAsTheProgramKnowsThem) {
  TempFolder folder;
  writeText(folder.path("Quillmere.ini"),
            "[Function]\nChoice=9\n[Choice]\ntime=ten\nCount=0x10\n[Fade]\nIn=-3\n");
  const MainSettings choices = loaded(SettingsFile(folder.path("Quillmere.ini")));
  EXPECT_EQ(choices.splitFunction, SplitFunction::Custom) << "an unknown function";
  EXPECT_EQ(choices.pieceSeconds, 60) << "not a number: the default";
  EXPECT_EQ(choices.pieceCount, 16);
  EXPECT_TRUE(choices.fadeIn) << "any non-zero value is on";
}

TEST(MainSettingsTest, AFolderGainsOneSeparatorAtMost) {
  EXPECT_EQ(withTrailingSeparator(QStringLiteral("/m/out")), QStringLiteral("/m/out/"));
  EXPECT_EQ(withTrailingSeparator(QStringLiteral("/m/out/")), QStringLiteral("/m/out/"));
}

}  // namespace
}  // namespace tarvex
