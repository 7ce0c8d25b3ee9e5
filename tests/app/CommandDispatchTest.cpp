#include <gtest/gtest.h>
#include <QMenu>
#include <QTest>

#include "app/Command.h"
#include "app/SkinCommands.h"
#include "tests/support/window/MainWindowHarness.h"

namespace tarvex {
namespace {

using testing::MainWindowHarness;

TEST(SkinCommands, NamesCompareExactlyWithCase) {
  EXPECT_EQ(commandForSkinObject("stop"), Command::StopPlayback);
  EXPECT_EQ(commandForSkinObject("Stop"), Command::Stop);
  EXPECT_EQ(commandForSkinObject("Set"), Command::Settings);
  EXPECT_EQ(commandForSkinObject("Settings"), Command::Settings);
  EXPECT_EQ(commandForSkinObject("helpfile"), Command::Help);
  EXPECT_FALSE(commandForSkinObject("STOP").has_value());
  EXPECT_FALSE(commandForSkinObject("pb").has_value());
  EXPECT_FALSE(commandForSkinObject("").has_value());
}

TEST(CommandRefusals, AJobRefusesListCommandsButNotHelpSettingsOrStop) {
  CommandContext running;
  running.jobRunning = true;
  running.hasSources = true;
  for (Command refused :
       {Command::FileMenu, Command::ActionMenu, Command::AddFile, Command::AddFolder,
        Command::MoveUp, Command::MoveDown, Command::RemoveFromSkin, Command::RemoveFromMenu,
        Command::Clear, Command::Play, Command::StepBack, Command::StepForward,
        Command::SplitFromSkin, Command::SplitFromMenu, Command::Join, Command::Begin, Command::End,
        Command::Ok}) {
    EXPECT_TRUE(isRefused(refused, running)) << static_cast<int>(refused);
  }
  for (Command allowed : {Command::HelpMenu, Command::Settings, Command::Stop, Command::TagEditor,
                          Command::Help, Command::WebSite, Command::About, Command::Exit}) {
    EXPECT_FALSE(isRefused(allowed, running)) << static_cast<int>(allowed);
  }
}

TEST(CommandRefusals, SegmentFocusAndPlaybackAndEmptyListRules) {
  CommandContext context;
  context.segmentFocus = true;
  EXPECT_TRUE(isRefused(Command::RemoveFromMenu, context));
  EXPECT_FALSE(isRefused(Command::RemoveFromSkin, context));
  EXPECT_TRUE(isRefused(Command::StopPlayback, context)) << "nothing plays";
  context.isPlaying = true;
  EXPECT_FALSE(isRefused(Command::StopPlayback, context));
  EXPECT_TRUE(isRefused(Command::SplitFromSkin, context)) << "no sources";
  EXPECT_FALSE(isRefused(Command::Join, context)) << "Join asks itself";
  context.hasSources = true;
  EXPECT_FALSE(isRefused(Command::SplitFromMenu, context));
}

TEST(CommandRefusals, AnAddInProgressHoldsBackListCommands) {
  CommandContext adding;
  adding.adding = true;
  adding.hasSources = true;
  EXPECT_TRUE(isRefused(Command::Clear, adding));
  EXPECT_TRUE(isRefused(Command::RemoveFromSkin, adding));
  EXPECT_TRUE(isRefused(Command::AddFile, adding));
  EXPECT_TRUE(isRefused(Command::Play, adding));
  EXPECT_FALSE(isRefused(Command::Settings, adding));
  EXPECT_FALSE(isRefused(Command::Stop, adding));
}

class CommandDispatchWindow : public ::testing::Test {
 protected:
  void SetUp() override { harness.show(); }
  MainWindowHarness harness;
};

TEST_F(CommandDispatchWindow, MenuObjectsPopUpTheirMenus) {
  harness.clickSkin("file");
  EXPECT_TRUE(harness.window().menus().p_file->isVisible());
  harness.window().menus().p_file->hide();
  harness.clickSkin("Help");
  EXPECT_TRUE(harness.window().menus().p_help->isVisible());
  harness.window().menus().p_help->hide();
}

TEST_F(CommandDispatchWindow, DuringAJobTheFileAndActionMenusAndAddFileDoNothing) {
  harness.holdJob();
  harness.clickSkin("file");
  harness.clickSkin("Action");
  harness.clickSkin("addfile");
  EXPECT_FALSE(harness.window().menus().p_file->isVisible());
  EXPECT_FALSE(harness.window().menus().p_action->isVisible());
  EXPECT_EQ(harness.platform().openDialogs, 0);
  harness.clickSkin("Help");
  EXPECT_TRUE(harness.window().menus().p_help->isVisible()) << "Help is never refused";
  harness.window().menus().p_help->hide();
  harness.clickSkin("Stop");
  EXPECT_FALSE(harness.window().jobRunning()) << "Stop clears the job flag";
}

TEST_F(CommandDispatchWindow, MenusHoldTheirItemsInOrder) {
  const auto captions = [](QMenu* menu) {
    QStringList texts;
    for (QAction* action : menu->actions()) texts << (action->isSeparator() ? "-" : action->text());
    return texts;
  };
  const PopupMenus& menus = harness.window().menus();
  EXPECT_EQ(captions(menus.p_file),
            QStringList({"Add File", "Add Folder", "-", "Remove", "-", "Exit"}));
  EXPECT_EQ(
      captions(menus.p_action),
      QStringList({"File Up", "File Down", "-", "Remove", "Clear", "-", "ID3 info", "-",
                   "Find silences", "Save marks", "Load marks", "-", "Split", "Join", "Stop"}));
  EXPECT_EQ(captions(menus.p_lv),
            QStringList({"Add File", "Add Path", "-", "Clear", "Remove", "-", "ID3 info", "-", "UP",
                         "Down", "-", "Play", "Stop"}));
  EXPECT_EQ(captions(menus.p_help), QStringList({"Content", "-", "HomePage", "-", "About"}));
}

TEST_F(CommandDispatchWindow, ExitClosesTheWindowAndSaves) {
  harness.triggerMenuItem("Exit1");
  EXPECT_FALSE(harness.window().isVisible());
  EXPECT_TRUE(QFile::exists(harness.settingsPath()));
}

}  // namespace
}  // namespace tarvex
