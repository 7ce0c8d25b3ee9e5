#include <gtest/gtest.h>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "app/dialogs/Tfm_id3.h"
#include "tests/reliability/HostileMedia.h"
#include "tests/support/GeneratedAudio.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/window/MainWindowHarness.h"
#include "tests/support/window/SourceFiles.h"

namespace tarvex {
namespace {

using testing::MainWindowHarness;

class NothingLostWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    harness.show();
    sources = {testing::makeMp3Source(harness.mediaPath("plain.mp3"), 4),
               testing::makeMp3Source(harness.mediaPath("Песня.mp3"), 3),
               testing::makeWavSource(harness.mediaPath("talk.wav"), 3)};
    testing::setMp3Title(sources[1], QStringLiteral("Песня 🎵"));
  }

  QStringList outputs() const { return testing::folderEntries(harness.outputDir()); }

  QStringList sources;
  MainWindowHarness harness;
};

TEST_F(NothingLostWindow, NoSourceChangesThroughAddPlaySplitTagEditAndJoin) {
  const QMap<QString, QByteArray> before = testing::checksumsOf(sources);
  harness.addFiles(sources);
  ASSERT_EQ(harness.sourceCaptions().size(), 3);

  harness.clickSkin("play");
  EXPECT_TRUE(harness.player().IsPlaying());
  QTest::qWait(100);
  harness.clickSkin("stop");

  // The tag editor: a new album for every source, confirmed.
  bool edited = false;
  harness.whenDialogOpens([&] {
    Tfm_id3& editor = harness.window().fm_id3();
    editor.edt_alb->setText(QStringLiteral("Отредактировано"));
    editor.Button3->click();
    editor.btn_ok->click();
    edited = true;
  });
  harness.triggerMenuItem("ID31");
  EXPECT_TRUE(edited);
  EXPECT_EQ(harness.window().sources().at(0).tags.album, QStringLiteral("Отредактировано"));

  harness.mainSettings().splitFunction = SplitFunction::EveryNSeconds;
  harness.mainSettings().pieceSeconds = 2;
  harness.clickSkin("Split");
  harness.platform().saveAnswers.push_back(
      PlatformServices::SaveChoice{harness.outputDir() + "joined.mp3", 1});
  harness.clickSkin("Join");
  EXPECT_TRUE(harness.platform().errors.isEmpty())
      << harness.platform().errors.join('\n').toStdString();
  EXPECT_EQ(outputs().size(), 2 + 2 + 2 + 1) << outputs().join(',').toStdString();

  EXPECT_EQ(testing::checksumsOf(sources), before);
}

TEST_F(NothingLostWindow, SplittingIntoTheSourcesOwnFolderWritesOverNoSource) {
  const QMap<QString, QByteArray> before = testing::checksumsOf(sources);
  // The output folder is the sources' folder, and the first names are taken
  // by files named like the pieces and by a copy of a source.
  const QString folder = QFileInfo(sources[0]).absolutePath() + QLatin1Char('/');
  ASSERT_TRUE(QFile::copy(sources[0], folder + "plain_1.mp3"));
  ASSERT_TRUE(QDir().mkpath(folder + "plain_2.mp3"));
  ASSERT_TRUE(QFile::link(folder + "nowhere", folder + "plain_3.mp3"));
  harness.mainSettings().outputDir = folder;
  harness.mainSettings().splitFunction = SplitFunction::EveryNSeconds;
  harness.mainSettings().pieceSeconds = 2;
  const QStringList taken = {folder + "plain_1.mp3"};
  const QMap<QString, QByteArray> takenBefore = testing::checksumsOf(taken);

  harness.addFiles(sources);
  harness.clickSkin("Split");
  EXPECT_TRUE(harness.platform().errors.isEmpty())
      << harness.platform().errors.join('\n').toStdString();
  const QStringList entries = testing::folderEntries(folder);
  EXPECT_TRUE(entries.contains("plain_4.mp3")) << entries.join(',').toStdString();
  EXPECT_TRUE(entries.contains("plain_5.mp3")) << entries.join(',').toStdString();
  EXPECT_TRUE(QFileInfo(folder + "plain_2.mp3").isDir());
  EXPECT_TRUE(QFileInfo(folder + "plain_3.mp3").isSymLink());
  EXPECT_FALSE(QFileInfo::exists(folder + "nowhere")) << "no piece went through the link";
  EXPECT_EQ(testing::checksumsOf(sources), before);
  EXPECT_EQ(testing::checksumsOf(taken), takenBefore);
}

TEST_F(NothingLostWindow, PiecesNamedLikeTheNextOnesAreNeverWrittenOver) {
  for (int n = 1; n <= 3; ++n) {
    QFile file(harness.outputDir() + QStringLiteral("plain_%1.mp3").arg(n));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("earlier work ") + QByteArray::number(n));
  }
  QStringList earlier;
  for (const QString& name : outputs()) earlier << harness.outputDir() + name;
  const QMap<QString, QByteArray> before = testing::checksumsOf(earlier);

  harness.mainSettings().splitFunction = SplitFunction::EveryNSeconds;
  harness.mainSettings().pieceSeconds = 2;
  harness.addFiles({sources[0]});
  harness.clickSkin("Split");
  harness.clickSkin("Split");  // a second run counts on past the first
  EXPECT_TRUE(harness.platform().errors.isEmpty())
      << harness.platform().errors.join('\n').toStdString();
  EXPECT_EQ(outputs(), QStringList({"plain_1.mp3", "plain_2.mp3", "plain_3.mp3", "plain_4.mp3",
                                    "plain_5.mp3", "plain_6.mp3", "plain_7.mp3"}));
  EXPECT_EQ(testing::checksumsOf(earlier), before);
}

}  // namespace
}  // namespace tarvex
