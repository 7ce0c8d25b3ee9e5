#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include "tests/settings_dialog/SettingsDialogFixture.h"

namespace tarvex::testing {
namespace {

TEST_F(SettingsDialogTest, NewFolderTwiceCreatesOneFolderAndCancelEmptiesTheChoice) {
  const QString parent = folder.path(QStringLiteral("music"));
  ASSERT_TRUE(QDir().mkpath(parent));
  folderDialog.show();
  ASSERT_TRUE(folderDialog.revealFolder(parent));
  EXPECT_EQ(folderDialog.selectedFolder(), parent);

  QTest::mouseClick(folderDialog.Button1, Qt::LeftButton);
  QTest::mouseClick(folderDialog.Button1, Qt::LeftButton);
  EXPECT_TRUE(QFileInfo(parent + "/New Folder").isDir());
  EXPECT_EQ(QDir(parent).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList{"New Folder"});
  EXPECT_EQ(folderDialog.chosenFolder, parent + "/New Folder");
  EXPECT_EQ(folderDialog.selectedFolder(), parent) << "the selection stays on the parent";
  EXPECT_TRUE(platform.messages().isEmpty()) << "the second press fails silently";

  QTest::mouseClick(folderDialog.btn_cancel, Qt::LeftButton);
  EXPECT_FALSE(folderDialog.isVisible());
  EXPECT_EQ(folderDialog.chosenFolder, "");
  EXPECT_TRUE(QFileInfo(parent + "/New Folder").isDir());
  EXPECT_FALSE(QFile::exists(iniPath()));
}

TEST_F(SettingsDialogTest, FolderOkWritesTheSettingAndFillsTheFolderField) {
  const QString chosen = folder.path(QStringLiteral("pieces"));
  ASSERT_TRUE(QDir().mkpath(chosen));
  open();
  // The folder dialog is modal: answer it once it is up.
  QTimer::singleShot(0, &folderDialog, [&] {
    folderDialog.revealFolder(chosen);
    QTest::mouseClick(folderDialog.btn_ok, Qt::LeftButton);
  });
  ui->clickButton("bt_dir");
  EXPECT_EQ(folderDialog.windowTitle(), "Output Directory");
  EXPECT_EQ(folderDialog.chosenFolder, chosen) << "no trailing separator below the root";
  EXPECT_EQ(ui->text("edt_dir"), chosen);
  EXPECT_EQ(settings.GetText("Output", "Dir", "?"), chosen) << "written at once";
  EXPECT_NE(state.outputDir, chosen) << "the window-wide folder waits for the settings OK";

  folderDialog.show();
  folderDialog.revealFolder(QDir::rootPath());
  folderDialog.btn_okClick();
  EXPECT_EQ(folderDialog.chosenFolder, QDir::toNativeSeparators(QDir::rootPath()))
      << "a root keeps its separator";
}

TEST_F(SettingsDialogTest, ClosingTheFolderDialogKeepsTheLastChoice) {
  const QString chosen = folder.path(QStringLiteral("kept"));
  ASSERT_TRUE(QDir().mkpath(chosen));
  folderDialog.show();
  folderDialog.revealFolder(chosen);
  folderDialog.btn_okClick();
  folderDialog.show();
  folderDialog.close();  // the title-bar close button
  EXPECT_EQ(folderDialog.result(), QDialog::Rejected);
  EXPECT_EQ(folderDialog.chosenFolder, chosen);
}

TEST_F(SettingsDialogTest, FolderDialogStartsAtTheGivenFolder) {
  const QString start = folder.path(QStringLiteral("start/deep"));
  ASSERT_TRUE(QDir().mkpath(start));
  EXPECT_EQ(folderDialog.objectName(), "fm_dir");
  EXPECT_EQ(folderDialog.size(), QSize(285, 280));
  folderDialog.setStartFolder(start);
  folderDialog.show();
  EXPECT_EQ(folderDialog.selectedFolder(), start);
  EXPECT_FALSE(folderDialog.revealFolder(folder.path(QStringLiteral("missing"))));
  EXPECT_EQ(folderDialog.selectedFolder(), start);
}

}  // namespace
}  // namespace tarvex::testing
