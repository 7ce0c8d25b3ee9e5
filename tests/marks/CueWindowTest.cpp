// CUE sheets in the window: beside added audio, opened or dropped themselves,
// saved and loaded as marks; the pieces cut from them carry the track texts.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QProcess>
#include <QUrl>

#include "app/MarkCommands.h"
#include "app/views/SourceList.h"
#include "tests/support/OutsideTool.h"
#include "tests/support/window/MainWindowHarness.h"
#include "tests/support/window/SourceFiles.h"

namespace tarvex {
namespace {

using testing::MainWindowHarness;

// Three tracks over a 9-second file: a sheet naming a WAV rip beside its MP3,
// with a pregap, REM lines and non-ASCII texts.
const char kAlbumSheet[] =
    "REM GENRE Folk\r\nREM COMMENT \"ripped\"\r\nPERFORMER \"Sheet Band\"\r\n"
    "TITLE \"Grüße\"\r\nFILE \"album.wav\" WAVE\r\n"
    "  TRACK 01 AUDIO\r\n    TITLE \"Eins\"\r\n    PERFORMER \"Ärzte\"\r\n"
    "    INDEX 01 00:00:00\r\n"
    "  TRACK 02 AUDIO\r\n    TITLE \"Zwei ☃\"\r\n    INDEX 00 00:02:50\r\n"
    "    INDEX 01 00:03:00\r\n"
    "  TRACK 03 AUDIO\r\n    TITLE \"Drei\"\r\n    INDEX 01 00:06:00\r\n";

const QStringList kAlbumRows{"00:00:00 - 00:00:03|00:00:03|OK", "00:00:03 - 00:00:06|00:00:03|OK",
                             "00:00:06 - 00:00:09|00:00:03|OK",
                             "00:00:00 - 00:00:09|00:00:09|Uncertain"};

class CueWindow : public ::testing::Test {
 protected:
  void SetUp() override { harness.show(); }

  QString media(const QString& name) const { return harness.mediaPath(name); }
  QString makeAlbum() {
    testing::makeMp3Source(media("album.mp3"), 9.0);
    testing::writeText(media("album.cue"), QString::fromUtf8(kAlbumSheet));
    return media("album.mp3");
  }
  void drop(const QStringList& paths) {
    auto* data = new QMimeData;
    QList<QUrl> urls;
    for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
    data->setUrls(urls);
    QDragEnterEvent enter(QPoint(200, 200), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    // Qt delivers a drop only after the drag entered and was accepted.
    QCoreApplication::sendEvent(&harness.window(), &enter);
    QDropEvent event(QPointF(200, 200), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&harness.window(), &event);
    delete data;
    ASSERT_TRUE(harness.waitUntilIdle());
  }
  // cuebreakpoints prints one "m:ss.ff" per track start after the first.
  static QStringList breakPoints(const QString& sheet) {
    return testing::runOutsideTool("cuebreakpoints", {sheet}).split('\n', Qt::SkipEmptyParts);
  }

  MainWindowHarness harness;
};

TEST_F(CueWindow, ASheetBesideAnAddedFileMarksItsTracksAndTheirTextsTagThePieces) {
  harness.mainSettings().splitFunction = SplitFunction::EveryNSeconds;
  harness.addFiles({makeAlbum()});
  EXPECT_EQ(harness.mainSettings().splitFunction, SplitFunction::Custom);
  EXPECT_EQ(harness.segmentRows(), kAlbumRows);
  EXPECT_TRUE(harness.platform().messages().isEmpty())
      << harness.platform().messages().join("; ").toStdString();

  harness.clickSkin("Split");
  const QStringList pieces = QDir(harness.outputDir()).entryList(QDir::Files, QDir::Name);
  ASSERT_EQ(pieces.size(), 3);
  const struct {
    const char* title;
    const char* artist;
  } expected[] = {{"Eins", "Ärzte"}, {"Zwei ☃", "Sheet Band"}, {"Drei", "Sheet Band"}};
  for (int i = 0; i < 3; ++i) {
    const QString tags = testing::ffprobeTags(harness.outputDir() + pieces[i]);
    EXPECT_EQ(testing::keyedValue(tags, "title"), QString::fromUtf8(expected[i].title));
    EXPECT_EQ(testing::keyedValue(tags, "artist"), QString::fromUtf8(expected[i].artist));
    EXPECT_EQ(testing::keyedValue(tags, "album"), "Grüße");
    EXPECT_EQ(testing::keyedValue(tags, "genre"), "Folk");
    EXPECT_EQ(testing::keyedValue(tags, "track"), QStringLiteral("%1/3").arg(i + 1));
  }
}

TEST_F(CueWindow, ASheetBesideThatDoesNotFitIsToldAndTheFileAddedUnmarked) {
  // The sheet's last track starts after the end of this shortened file.
  testing::makeMp3Source(media("album.mp3"), 5.0);
  testing::writeText(media("album.cue"), QString::fromUtf8(kAlbumSheet));
  harness.addFiles({media("album.mp3")});
  EXPECT_EQ(harness.sourceCaptions(), QStringList{"album.mp3"});
  EXPECT_EQ(harness.segmentRows(), QStringList{"00:00:00 - 00:00:05|00:00:05|Uncertain"});
  ASSERT_EQ(harness.platform().informations.size(), 1);
  const QString told = harness.platform().informations[0];
  EXPECT_TRUE(told.contains("track 3")) << told.toStdString();
  EXPECT_TRUE(told.contains("\"album.mp3\" was added without marks")) << told.toStdString();
}

TEST_F(CueWindow, OpeningOrDroppingASheetAddsTheAudioItNames) {
  // The sheet's own name differs from the audio's, and it names a FLAC rip
  // where an MP3 lies.
  testing::makeMp3Source(media("disc.mp3"), 9.0);
  QString sheet = QString::fromUtf8(kAlbumSheet);
  sheet.replace("album.wav", "disc.flac");
  testing::writeText(media("Rip log.cue"), sheet);
  // Chosen together with its audio, the audio is added once.
  harness.addFiles({media("disc.mp3"), media("Rip log.cue")});
  EXPECT_TRUE(harness.platform().openDialogFilters.contains(kCueSheetFilter));
  EXPECT_EQ(harness.sourceCaptions(), QStringList{"disc.mp3"});
  EXPECT_EQ(harness.segmentRows(), kAlbumRows);

  // Dropped: a sheet with a missing file is told and adds nothing.
  testing::writeText(media("gone.cue"),
                     "FILE \"gone.wav\" WAVE\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n");
  drop({media("gone.cue")});
  EXPECT_EQ(harness.sourceCaptions().size(), 1);
  ASSERT_EQ(harness.platform().informations.size(), 1);
  EXPECT_TRUE(harness.platform().informations[0].contains("gone.wav"));

  testing::makeWavSource(media("b.wav"), 4.0);
  testing::writeText(media("b.cue"),
                     "FILE \"b.wav\" WAVE\nTRACK 01 AUDIO\nTITLE \"B1\"\nINDEX 01 00:00:00\n"
                     "TRACK 02 AUDIO\nTITLE \"B2\"\nINDEX 01 00:02:00\n");
  drop({media("b.cue")});
  ASSERT_EQ(harness.sourceCaptions(), QStringList({"disc.mp3", "b.wav"}));
  const SourceRecord& b = harness.window().sources().at(1);
  ASSERT_EQ(b.ranges.size(), 3u);
  MarkedRange second{2, 4, RangeState::Confirmed, "B2", {}};
  second.exactFirst = int64_t{2} * b.sampleRate;  // where the sheet starts it; it runs to the end
  EXPECT_EQ(b.ranges[1], second);
}

TEST_F(CueWindow, SaveMarksWritesASheetBesideTheSourceAndAsksBeforeReplacingIt) {
  harness.triggerMenuItem("SaveMarks1");
  EXPECT_EQ(harness.platform().informations, QStringList{kNoSourceForMarksMessage});

  testing::makeMp3Source(media("set.mp3"), 9.0);
  harness.addFiles({media("set.mp3")});
  SourceRecord& record = harness.window().sources().at(0);
  record.replaceMarks({{0, 2, RangeState::Confirmed, QStringLiteral("Intro"), {}},
                       {2, 7, RangeState::Confirmed},
                       {7, 9, RangeState::Confirmed}});
  harness.triggerMenuItem("SaveMarks1");
  const QString sheet = media("set.cue");
  ASSERT_TRUE(QFile::exists(sheet));
  EXPECT_EQ(breakPoints(sheet), QStringList({"0:02.00", "0:07.00"}));
  EXPECT_TRUE(harness.platform().questions.isEmpty());

  // A second save asks; No keeps the sheet, Yes replaces it.
  record.replaceMarks({{0, 5, RangeState::Confirmed}, {5, 9, RangeState::Confirmed}});
  const QString before = testing::readText(sheet);
  harness.triggerMenuItem("SaveMarks1");
  ASSERT_EQ(harness.platform().questions.size(), 1);
  EXPECT_TRUE(harness.platform().questions[0].contains("set.cue"));
  EXPECT_EQ(testing::readText(sheet), before);
  harness.platform().questionAnswers.push_back(true);
  harness.triggerMenuItem("SaveMarks1");
  EXPECT_EQ(breakPoints(sheet), QStringList{"0:05.00"});

  // Load marks reads a sheet back as the source's marks.
  harness.mainSettings().splitFunction = SplitFunction::EqualPieces;
  testing::writeText(media("other.cue"),
                     "FILE \"set.mp3\" MP3\nTRACK 01 AUDIO\nTITLE \"A\"\nINDEX 01 00:01:00\n"
                     "TRACK 02 AUDIO\nTITLE \"B\"\nINDEX 01 00:04:00\n");
  harness.platform().openAnswers.push_back({media("other.cue")});
  harness.triggerMenuItem("LoadMarks1");
  EXPECT_EQ(harness.platform().lastDialogDirectory, QFileInfo(media("set.mp3")).absolutePath());
  EXPECT_EQ(harness.mainSettings().splitFunction, SplitFunction::Custom);
  EXPECT_EQ(harness.segmentRows(),
            QStringList({"00:00:01 - 00:00:04|00:00:03|OK", "00:00:04 - 00:00:09|00:00:05|OK",
                         "00:00:00 - 00:00:09|00:00:09|Uncertain"}));

  // A sheet of another file is refused with its reason; the marks stay.
  testing::writeText(media("wrong.cue"),
                     "FILE \"x.mp3\" MP3\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n"
                     "FILE \"y.mp3\" MP3\nTRACK 02 AUDIO\nINDEX 01 00:00:00\n");
  harness.platform().openAnswers.push_back({media("wrong.cue")});
  harness.triggerMenuItem("LoadMarks1");
  ASSERT_FALSE(harness.platform().errors.isEmpty());
  EXPECT_TRUE(harness.platform().errors.back().contains("set.mp3"));
  EXPECT_EQ(harness.window().sources().at(0).ranges.size(), 3u);
}

}  // namespace
}  // namespace tarvex
