#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTreeWidget>

#include "app/dialogs/Tfm_dir.h"
#include "app/views/SourceList.h"
#include "components/skin/SkinWidget.h"
#include "tests/support/window/MainWindowHarness.h"
#include "tests/support/window/SourceFiles.h"

namespace tarvex {
namespace {

using testing::MainWindowHarness;
using testing::makeJunkFile;
using testing::makeMp3Source;
using testing::makeWavSource;
using testing::setMp3Title;

// Sources shared by the tests of this file, made once.
class SourceListWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    media_ = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/tarvex-media-XXXXXX"));
    makeMp3Source(media("song125.mp3"), 125);
    makeMp3Source(media("song120.mp3"), 120);
    makeWavSource(media("talk100.wav"), 100);
    makeWavSource(media("talk300.wav"), 300);
    makeWavSource(media("long600.wav"), 600);
    makeWavSource(media("short.wav"), 0.5);
    makeJunkFile(media("broken.mp3"), 5000);
  }
  static void TearDownTestSuite() { delete media_; }
  static QString media(const QString& name) { return media_->path() + QLatin1Char('/') + name; }

  void SetUp() override { harness.show(); }

  const SourceRecord& record(int row) { return harness.window().sources().at(row); }

  static QTemporaryDir* media_;
  MainWindowHarness harness;
};

QTemporaryDir* SourceListWindow::media_ = nullptr;

TEST_F(SourceListWindow, AddingAFileProbesItsLengthAndPlansItsPieces) {
  harness.mainSettings().splitFunction = SplitFunction::EveryNSeconds;
  harness.addFiles({media("song125.mp3")});
  EXPECT_EQ(harness.platform().openDialogFilters.value(0), "MP3 Files(*.mp3;*.mp2)");
  ASSERT_EQ(harness.sourceCaptions(), QStringList{"song125.mp3"});
  EXPECT_EQ(harness.window().lv().topLevelItem(0)->text(1), "00:02:05");
  EXPECT_EQ(record(0).lengthSeconds, 125);
  EXPECT_EQ(record(0).barMax, 1084) << "250 is below the Add File floor";
  EXPECT_EQ(record(0).frames, int64_t{125} * 22050);
  EXPECT_EQ(record(0).path, media("song125.mp3"));
  EXPECT_EQ(harness.segmentRows(), QStringList({"00:00:00 - 00:01:00|00:01:00|Unconvert",
                                                "00:01:00 - 00:02:00|00:01:00|Unconvert",
                                                "00:02:00 - 00:02:05|00:00:05|Unconvert"}));
  EXPECT_EQ(harness.skinText("tataltime"), "00:02:05");
  EXPECT_EQ(harness.skinText("nm"), media("song125.mp3"));
  EXPECT_FALSE(harness.window().sm().isVisible());
  EXPECT_EQ(harness.window().Skin1().findObject("pb")->maximum(), 1084);
  EXPECT_EQ(harness.window().Skin1().findObject("pb")->pageSize(), 51);
}

TEST_F(SourceListWindow, EvenLengthsAndEqualPiecesPlanNoEmptyOrLostTail) {
  harness.mainSettings().splitFunction = SplitFunction::EveryNSeconds;
  harness.addFiles({media("song120.mp3")});
  EXPECT_EQ(harness.segmentRows(), QStringList({"00:00:00 - 00:01:00|00:01:00|Unconvert",
                                                "00:01:00 - 00:02:00|00:01:00|Unconvert"}));
  harness.mainSettings().splitFunction = SplitFunction::EqualPieces;
  harness.mainSettings().pieceCount = 3;
  harness.addFiles({media("talk100.wav")});
  harness.clickSourceRow(1);
  EXPECT_EQ(harness.segmentRows(), QStringList({"00:00:00 - 00:00:33|00:00:33|Unconvert",
                                                "00:00:33 - 00:01:07|00:00:34|Unconvert",
                                                "00:01:07 - 00:01:40|00:00:33|Unconvert"}));
}

TEST_F(SourceListWindow, LongSourcesScaleTheBarAndTheFolderFloorIsLower) {
  harness.addFiles({media("long600.wav"), media("talk300.wav")});
  EXPECT_EQ(record(0).lengthSeconds, 600);
  EXPECT_EQ(record(0).barMax, 1200);
  EXPECT_EQ(record(1).barMax, 1084);
  harness.clickSourceRow(0);
  const skin::SkinObject* bar = harness.window().Skin1().findObject("pb");
  EXPECT_EQ(bar->maximum() - bar->pageSize(), 1143);
}

TEST_F(SourceListWindow, BarValuesReadAsSecondsOfTheSelectedSource) {
  harness.addFiles({media("talk300.wav")});
  skin::SkinObject* bar = harness.window().Skin1().findObject("pb");
  bar->setPosition(1033);
  harness.clickSkin("End");
  bar->setPosition(516);
  harness.clickSkin("Begin");
  EXPECT_EQ(harness.segmentRows(), QStringList{"00:02:30 - 00:05:00|00:02:30|Uncertain"});
}

TEST_F(SourceListWindow, FilesThatFailAreReportedAndTheRestStayAligned) {
  harness.addFiles({media("song125.mp3"), media("broken.mp3"), media("talk100.wav")});
  EXPECT_EQ(harness.platform().informations, QStringList{"broken.mp3 this File is not supported."});
  EXPECT_EQ(harness.sourceCaptions(), QStringList({"song125.mp3", "talk100.wav"}));
  ASSERT_EQ(harness.window().sources().count(), 2);
  ASSERT_EQ(harness.window().sources().tags().size(), 2u);
  EXPECT_EQ(record(1).path, media("talk100.wav"));
  EXPECT_EQ(record(1).lengthSeconds, 100);
  // The reader works again after the failure.
  harness.addFiles({media("talk300.wav")});
  EXPECT_EQ(record(2).lengthSeconds, 300);
}

TEST_F(SourceListWindow, MissingAndTooShortFilesAreRefusedByAddFile) {
  harness.addFiles({media("short.wav"), media("gone.mp3")});
  EXPECT_EQ(harness.platform().informations,
            QStringList({"short.wav this File is Error or not supported.",
                         "gone.mp3 this File is not supported."}));
  EXPECT_EQ(harness.window().lv().topLevelItemCount(), 0);
  EXPECT_TRUE(harness.window().sources().empty());
  EXPECT_TRUE(harness.window().sm().isVisible());
}

TEST_F(SourceListWindow, TagTitlesBecomeCleanedCaptions) {
  const QString path = harness.mediaPath("tagged.mp3");
  QFile::copy(media("song120.mp3"), path);
  setMp3Title(path, "AC/DC: Live <1>");
  harness.addFiles({path});
  EXPECT_EQ(harness.sourceCaptions(), QStringList{"ACDC Live 1"});
  EXPECT_EQ(harness.window().sources().at(0).tags.artist, "Test Artist");
}

TEST_F(SourceListWindow, TheNameColumnNarrowsFromThirteenRows) {
  QStringList files;
  for (int i = 0; i < 13; ++i) {
    const QString path = harness.mediaPath(QStringLiteral("s%1.wav").arg(i));
    QFile::copy(media("talk100.wav"), path);
    files << path;
  }
  harness.addFiles(files.mid(0, 12));
  EXPECT_EQ(harness.window().lv().columnWidth(0), 120);
  harness.addFiles(files.mid(12));
  EXPECT_EQ(harness.window().lv().columnWidth(0), 113);
  harness.clickSourceRow(3);
  harness.clickSkin("Remove");
  EXPECT_EQ(harness.window().lv().columnWidth(0), 120);
  EXPECT_EQ(harness.window().lv().topLevelItemCount(), 12);
}

TEST_F(SourceListWindow, MovingRowsMovesTheirEntriesAndStopsAtTheEnds) {
  harness.addFiles({media("song125.mp3"), media("talk100.wav"), media("talk300.wav")});
  harness.clickSourceRow(0);
  harness.clickSkin("Up");
  EXPECT_EQ(harness.sourceCaptions(), QStringList({"song125.mp3", "talk100.wav", "talk300.wav"}));
  harness.clickSkin("Down");
  EXPECT_EQ(harness.sourceCaptions(), QStringList({"talk100.wav", "song125.mp3", "talk300.wav"}));
  EXPECT_EQ(record(1).path, media("song125.mp3"));
  EXPECT_EQ(harness.window().lv().topLevelItem(1)->text(1), "00:02:05");
  EXPECT_EQ(harness.window().sourceList().currentRow(), 1);
  harness.triggerMenuItem("FileDown1");
  harness.triggerMenuItem("Down1");
  EXPECT_EQ(harness.sourceCaptions(), QStringList({"talk100.wav", "talk300.wav", "song125.mp3"}));
  EXPECT_EQ(record(2).lengthSeconds, 125);
}

TEST_F(SourceListWindow, RemovingTheLastOfThreeSelectsTheFirstAndClearEmptiesAll) {
  harness.mainSettings().splitFunction = SplitFunction::EveryNSeconds;
  harness.addFiles({media("song125.mp3"), media("talk100.wav"), media("talk300.wav")});
  harness.clickSourceRow(2);
  harness.triggerMenuItem("Remove1");
  EXPECT_EQ(harness.sourceCaptions(), QStringList({"song125.mp3", "talk100.wav"}));
  EXPECT_EQ(harness.window().lv().selectedItems().value(0), harness.window().lv().topLevelItem(0));
  EXPECT_EQ(harness.skinText("tataltime"), "00:03:45");
  harness.clickSkin("Clear");
  EXPECT_EQ(harness.window().lv().topLevelItemCount(), 0);
  EXPECT_EQ(harness.window().lv_time().topLevelItemCount(), 0);
  EXPECT_TRUE(harness.window().sources().empty());
  EXPECT_TRUE(harness.window().sm().isVisible());
  EXPECT_EQ(harness.skinText("tataltime"), "00:00:00");
  EXPECT_EQ(harness.skinText("nm"), "") << "the path line named a removed file";
  // Removing the only file one by one clears it too.
  harness.addFiles({media("talk100.wav")});
  EXPECT_EQ(harness.skinText("nm"), media("talk100.wav"));
  harness.clickSkin("Remove");
  EXPECT_EQ(harness.window().lv().topLevelItemCount(), 0);
  EXPECT_EQ(harness.skinText("nm"), "");
}

TEST_F(SourceListWindow, ListCommandsWaitWhileAJobRuns) {
  harness.addFiles({media("talk100.wav"), media("talk300.wav")});
  harness.holdJob();
  harness.clickSourceRow(1);
  harness.clickSkin("Down");
  harness.clickSkin("Up");
  harness.clickSkin("Remove");
  harness.clickSkin("Clear");
  EXPECT_EQ(harness.sourceCaptions(), QStringList({"talk100.wav", "talk300.wav"}));
  harness.window().StopJob();
}

}  // namespace
}  // namespace tarvex

namespace tarvex {
namespace {

TEST_F(SourceListWindow, AddFolderTakesOnlyMp3FilesWithUncleanedTagTitles) {
  const QString folder = harness.folder().path("album");
  QDir().mkpath(folder);
  QFile::copy(media("song120.mp3"), folder + "/Track One.MP3");
  QFile::copy(media("song125.mp3"), folder + "/tagged.mp3");
  setMp3Title(folder + "/tagged.mp3", "AC/DC: Live");
  QFile::copy(media("talk100.wav"), folder + "/speech.wav");
  QDir().mkpath(folder + "/sub.mp3");  // a folder named like a file is not entered
  harness.answerNextFolderDialog(folder);
  harness.triggerMenuItem("AddFolder1");
  QStringList captions = harness.sourceCaptions();
  captions.sort();
  EXPECT_EQ(captions, QStringList({"AC/DC: Live", "Track One.MP3"}));
  for (const SourceRecord& entry : harness.window().sources().all()) {
    EXPECT_EQ(entry.barMax, 1014) << "the Add Folder floor";
  }
  EXPECT_EQ(harness.window().fm_dir().windowTitle(), "Add File Directory");
  EXPECT_TRUE(harness.platform().informations.isEmpty());
}

TEST_F(SourceListWindow, ACancelledFolderDialogAddsNothing) {
  harness.answerNextFolderDialog(QString());
  harness.triggerMenuItem("AddFolder2");
  EXPECT_EQ(harness.window().lv().topLevelItemCount(), 0);
}

}  // namespace
}  // namespace tarvex
