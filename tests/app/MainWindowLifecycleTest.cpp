#include <gtest/gtest.h>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QTreeWidget>

#include "app/ApplicationInfo.h"
#include "app/FormatSelector.h"
#include "app/Tfm_about.h"
#include "components/skin/SkinWidget.h"
#include "tests/support/window/MainWindowHarness.h"

namespace tarvex {
namespace {

using testing::MainWindowHarness;
using testing::readText;
using testing::writeText;

TEST(MainWindowLifecycle, StartsWithTheDefaultsWhenNoSettingsFileExists) {
  MainWindowHarness harness;
  harness.show();
  const MainSettings& state = harness.mainSettings();
  EXPECT_EQ(state.splitFunction, SplitFunction::Custom);
  EXPECT_EQ(state.outputDir, harness.outputDir());
  EXPECT_TRUE(QFileInfo(harness.outputDir()).isDir()) << "the output folder is created";
  EXPECT_EQ(state.pieceSeconds, 60);
  EXPECT_EQ(state.pieceCount, 6);
  EXPECT_FALSE(state.fadeIn);
  EXPECT_FALSE(state.fadeOut);
  EXPECT_EQ(state.fadeInSeconds, 5);
  EXPECT_EQ(state.fadeOutSeconds, 5);
  EXPECT_FALSE(state.skinFlag);
  EXPECT_FALSE(harness.window().jobRunning());
  EXPECT_FALSE(QFile::exists(harness.settingsPath())) << "nothing is written before closing";
  EXPECT_TRUE(harness.platform().messages().isEmpty());
}

TEST(MainWindowLifecycle, ClosingWritesTheMainKeysInTheirOrder) {
  MainWindowHarness harness;
  harness.show();
  harness.close();
  EXPECT_EQ(readText(harness.settingsPath()),
            "[Function]\nChoice=0\n[Output]\nDir=" + harness.outputDir() +
                "\nTitleNames=0\nFormat=0\n[Choice]\ntime=60\nCount=6\n[Fade]\nIn=0\nOut=0\nIntime="
                "5\nOuttime=5\n"
                "[Sorvel]\nSkin=0\n");
}

TEST(MainWindowLifecycle, AStoredFolderGetsItsTrailingSeparatorAndIsCreated) {
  MainWindowHarness probe;  // only to learn a temporary folder's name
  const QString folder = probe.folder().path("music");
  MainWindowHarness harness("[Output]\nDir=" + folder +
                            "\n[Function]\nChoice=2\n[Fade]\nIn=7\nOuttime=0x0A\n");
  harness.show();
  EXPECT_EQ(harness.mainSettings().outputDir, folder + "/");
  EXPECT_TRUE(QFileInfo(folder).isDir());
  EXPECT_EQ(harness.mainSettings().splitFunction, SplitFunction::EqualPieces);
  EXPECT_TRUE(harness.mainSettings().fadeIn);
  EXPECT_EQ(harness.mainSettings().fadeOutSeconds, 10);
  harness.close();
  const QString written = readText(harness.settingsPath());
  EXPECT_TRUE(written.contains("Dir=" + folder + "/\n")) << written.toStdString();
}

TEST(MainWindowLifecycle, TheChosenFormatIsKeptAndAnUnknownOneIsMp3) {
  MainWindowHarness harness("[Output]\nFormat=4\n");
  harness.show();
  EXPECT_EQ(harness.window().cb_format().currentText(), "MP3 (no re-encode)");
  EXPECT_EQ(harness.window().cb_format().toolTip(), "MP3 (no re-encode)");
  // The skin's narrow field shows the short face, not the caption cut off.
  const auto* selector = qobject_cast<FormatSelector*>(&harness.window().cb_format());
  ASSERT_NE(selector, nullptr);
  EXPECT_EQ(selector->faceText(), "MP3 copy");
  harness.window().cb_format().setCurrentIndex(1);
  harness.close();
  EXPECT_TRUE(readText(harness.settingsPath()).contains("Format=1\n"));

  for (const char* stored : {"7", "-1", "wav"}) {
    MainWindowHarness unknown(QStringLiteral("[Output]\nFormat=%1\n").arg(stored));
    unknown.show();
    EXPECT_EQ(unknown.window().cb_format().currentIndex(), 0) << stored;
    EXPECT_EQ(unknown.mainSettings().formatIndex, 0) << stored;
  }
}

TEST(MainWindowLifecycle, AnEmptyStoredFolderFallsBackToTheDefault) {
  MainWindowHarness harness("[Output]\nDir=\n");
  harness.show();
  EXPECT_EQ(harness.mainSettings().outputDir, harness.outputDir());
}

TEST(MainWindowLifecycle, UnknownSettingsSurviveTheClosingWrite) {
  MainWindowHarness harness("; hand notes\n[mp3]\nbitrate=3\n\n[Function]\nChoice=1\nmine=yes\n");
  harness.show();
  harness.mainSettings().splitFunction = SplitFunction::Unification;
  harness.close();
  const QString written = readText(harness.settingsPath());
  EXPECT_TRUE(
      written.startsWith("; hand notes\n[mp3]\nbitrate=3\n\n[Function]\nChoice=3\nmine=yes\n"))
      << written.toStdString();
}

TEST(MainWindowLifecycle, AnUnwritableSettingsFileIsReportedAndTheWindowStillCloses) {
  MainWindowHarness harness("[Function]\nChoice=1\n");
  harness.show();
  QFile::setPermissions(harness.settingsPath(), QFile::ReadOwner);
  harness.close();
  EXPECT_FALSE(harness.window().isVisible());
  ASSERT_EQ(harness.platform().errors.size(), 1);
  EXPECT_EQ(harness.platform().errors.front(), "Unable to write to Quillmere.ini");
  EXPECT_EQ(readText(harness.settingsPath()), "[Function]\nChoice=1\n");
}

TEST(MainWindowLifecycle, ClosingDuringAJobStopsItAndStillSaves) {
  MainWindowHarness harness;
  harness.show();
  harness.holdJob();
  harness.close();
  EXPECT_FALSE(harness.window().jobRunning());
  EXPECT_TRUE(QFile::exists(harness.settingsPath()));
}

// On the desktop Qt appends a display name, once one is set, to every window
// title that does not already end with it; the program sets none, so each
// title bar shows the window's own caption.
TEST(MainWindowLifecycle, TheTitleBarsShowTheWindowsOwnCaptions) {
  nameApplication();
  EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName())
      << "a display name was set, and Qt would append it to the captions below";
  MainWindowHarness harness;
  harness.show();
  EXPECT_EQ(harness.window().windowTitle(), "Tarvex MP3 Splitter Joiner");
  EXPECT_EQ(harness.window().fm_about().windowTitle(), "About Tarvex MP3 Splitter Joiner");
}

TEST(MainWindowLifecycle, TheWindowHasItsFixedSizeListsAndSkinObjects) {
  MainWindowHarness harness;
  harness.show();
  Tfm_main& window = harness.window();
  EXPECT_EQ(window.windowTitle(), "Tarvex MP3 Splitter Joiner");
  EXPECT_EQ(window.size(), QSize(547, 421));
  EXPECT_EQ(window.lv().geometry().topLeft(), QPoint(120, 92));
  EXPECT_EQ(window.lv_time().geometry().topLeft(), QPoint(243, 92));
  EXPECT_EQ(window.sm().geometry().topLeft(), QPoint(120, 92));
  EXPECT_TRUE(window.sm().isVisible());
  EXPECT_EQ(window.lv().headerItem()->text(0), "File name");
  EXPECT_EQ(window.lv().columnWidth(0), 120);
  EXPECT_EQ(window.lv_time().headerItem()->text(2), "Status");
  ASSERT_EQ(window.cb_format().count(), 5);
  EXPECT_EQ(window.cb_format().currentText(), "MP3");
  EXPECT_EQ(window.cb_format().itemText(3), "OGG");
  EXPECT_EQ(window.cb_format().itemText(4), "MP3 (no re-encode)");
  const QStringList lines = window.sm().toPlainText().split('\n');
  ASSERT_EQ(lines.size(), 10);
  EXPECT_EQ(lines[1], " ");
  EXPECT_EQ(lines[3], "    2. Set begin-time/end-time for every file.            ");
  EXPECT_EQ(lines[8], "\"Join\"");
  EXPECT_TRUE(window.sm().font().italic());
  EXPECT_EQ(window.sm().font().pixelSize(), 13);
  for (const char* name :
       {"pb",     "timecaption", "tataltime", "nm",   "pbpos",   "convertpb", "file",
        "Action", "Help",        "Settings",  "Set",  "addfile", "Up",        "Down",
        "Remove", "Clear",       "play",      "stop", "Stop",    "hou",       "qian",
        "Split",  "Join",        "Begin",     "End",  "Ok",      "helpfile"}) {
    EXPECT_NE(window.Skin1().findObject(name), nullptr) << name;
  }
  EXPECT_EQ(harness.skinText("tataltime"), "00:00:00");
  EXPECT_EQ(window.Skin1().findObject("pb")->position(), 0);
  const QRect progress = window.Skin1().findObject("convertpb")->rect();
  EXPECT_EQ(progress.right(), progress.left()) << "the progress frame starts empty";
}

TEST(MainWindowLifecycle, ABrokenSkinFileFallsBackWithAMessage) {
  MainWindowHarness harness;
  writeText(harness.folder().path("program/mp3enc.dll"), "this is not a skin\n");
  harness.show();
  ASSERT_EQ(harness.platform().errors.size(), 1);
  EXPECT_TRUE(harness.platform().errors.front().contains("mp3enc.dll"));
  EXPECT_NE(harness.window().Skin1().findObject("Split"), nullptr);
}

}  // namespace
}  // namespace tarvex
