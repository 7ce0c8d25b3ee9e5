#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "components/output/AudioPlayer2.h"
#include "tests/reliability/HostileMedia.h"
#include "tests/support/GeneratedAudio.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/window/MainWindowHarness.h"
#include "tests/support/window/SourceFiles.h"

namespace tarvex {
namespace {

using testing::MainWindowHarness;

class HostileFilesWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    media_ = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/tarvex-hostile-XXXXXX"));
    testing::makeMp3Source(media("good3.mp3"), 3);
    testing::makeMp3Source(media("good10.mp3"), 10);
    testing::makeEmptyFile(media("zero.mp3"));
    testing::makeJunkFile(media("random.mp3"), 20000);
    testing::makeJunkFile(media("random.wav"), 20000);
    testing::makeTruncatedCopy(media("good10.mp3"), media("truncated.mp3"),
                               QFileInfo(media("good10.mp3")).size() * 4 / 10);
    testing::makeLyingId3Copy(media("good3.mp3"), media("id3toolong.mp3"), 0x0FFFFFFF);
    testing::makeLyingId3Copy(media("good3.mp3"), media("id3tooshort.mp3"), 3);
    testing::makeVbrMp3WithoutXing(media("vbr8.mp3"), 8);
    testing::makeOneFrameMp3(media("oneframe.mp3"));
  }
  static void TearDownTestSuite() { delete media_; }
  static QString media(const QString& name) { return media_->path() + QLatin1Char('/') + name; }

  void SetUp() override {
    harness.show();
    harness.mainSettings().splitFunction = SplitFunction::EveryNSeconds;
    harness.mainSettings().pieceSeconds = 2;
  }

  QStringList outputs() const { return testing::folderEntries(harness.outputDir()); }
  // The list's rows and the records always agree.
  void expectListAligned() {
    EXPECT_EQ(harness.window().sources().count(), harness.window().lv().topLevelItemCount());
  }
  // The window still adds, splits and shows no message for a good file.
  void expectWindowUsable() {
    EXPECT_FALSE(harness.window().jobRunning());
    harness.triggerMenuItem("Clear1");
    const int messagesBefore = static_cast<int>(harness.platform().messages().size());
    harness.addFiles({media("good3.mp3")});
    ASSERT_EQ(harness.sourceCaptions(), QStringList{"good3.mp3"});
    const int outputsBefore = static_cast<int>(outputs().size());
    harness.clickSkin("Split");
    EXPECT_EQ(outputs().size(), outputsBefore + 2) << "3 s in pieces of 2 s";
    EXPECT_EQ(harness.platform().messages().size(), messagesBefore)
        << harness.platform().messages().join('\n').toStdString();
  }
  void joinInto(const QString& name) {
    harness.platform().saveAnswers.push_back(
        PlatformServices::SaveChoice{harness.outputDir() + name, 1});
    harness.clickSkin("Join");
  }

  static QTemporaryDir* media_;
  MainWindowHarness harness;
};

QTemporaryDir* HostileFilesWindow::media_ = nullptr;

TEST_F(HostileFilesWindow, BrokenFilesAreRefusedByNameAndTheRestOfTheListStays) {
  harness.addFiles({media("good3.mp3"), media("zero.mp3"), media("random.mp3"), media("random.wav"),
                    media("oneframe.mp3"), media("good10.mp3")});
  EXPECT_EQ(harness.sourceCaptions(), QStringList({"good3.mp3", "good10.mp3"}));
  expectListAligned();
  const QStringList messages = harness.platform().informations;
  ASSERT_EQ(messages.size(), 4) << messages.join('\n').toStdString();
  const char* refused[] = {"zero.mp3", "random.mp3", "random.wav", "oneframe.mp3"};
  for (int i = 0; i < 4; ++i)
    EXPECT_TRUE(messages[i].startsWith(refused[i])) << messages[i].toStdString();
  EXPECT_EQ(harness.window().sources().at(1).lengthSeconds, 10);

  // The same files through Add Folder.
  QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/tarvex-hostile-folder-XXXXXX"));
  for (const char* name : {"good3.mp3", "zero.mp3", "random.mp3", "oneframe.mp3"}) {
    ASSERT_TRUE(QFile::copy(media(name), folder.path() + QLatin1Char('/') + name));
  }
  harness.triggerMenuItem("Clear1");
  harness.answerNextFolderDialog(folder.path());
  harness.triggerMenuItem("AddFolder1");
  // Add Folder keeps a file that decodes to less than a second, as a source of
  // length 0; splitting it writes nothing for it and reports nothing.
  EXPECT_EQ(harness.sourceCaptions(), QStringList({"good3.mp3", "oneframe.mp3"}));
  expectListAligned();
  EXPECT_EQ(harness.platform().informations.size(), 4 + 2) << "zero.mp3, random.mp3 again";
  harness.clickSkin("Split");
  EXPECT_TRUE(harness.platform().errors.isEmpty())
      << harness.platform().errors.join('\n').toStdString();
  EXPECT_FALSE(harness.window().jobRunning());
  EXPECT_TRUE(outputs().contains("good3_2.mp3"));
  expectWindowUsable();
}

TEST_F(HostileFilesWindow, ATruncatedMp3SplitsAndJoinsWhatItHolds) {
  harness.addFiles({media("truncated.mp3"), media("good3.mp3")});
  ASSERT_EQ(harness.sourceCaptions(), QStringList({"truncated.mp3", "good3.mp3"}));
  // The LAME header still claims 10 s; only about 4 s of frames are there.
  const std::vector<float> held = testing::decodeFile(media("truncated.mp3"));
  ASSERT_GT(held.size(), 0u);
  harness.clickSkin("Split");
  EXPECT_TRUE(harness.platform().errors.isEmpty())
      << harness.platform().errors.join('\n').toStdString();
  EXPECT_FALSE(harness.window().jobRunning());
  int64_t truncatedFrames = 0;
  for (const QString& name : outputs()) {
    if (!name.startsWith("truncated_")) continue;
    truncatedFrames += static_cast<int64_t>(testing::decodeFile(harness.outputDir() + name).size());
  }
  // The pieces are written at 44100 Hz stereo: four values for each source frame.
  EXPECT_NEAR(static_cast<double>(truncatedFrames), 4.0 * static_cast<double>(held.size()),
              44100 * 0.2);
  EXPECT_TRUE(outputs().contains("good3_2.mp3")) << "the next source is cut too";

  joinInto("joined.mp3");
  EXPECT_TRUE(harness.platform().errors.isEmpty())
      << harness.platform().errors.join('\n').toStdString();
  EXPECT_GT(testing::decodeFile(harness.outputDir() + "joined.mp3").size(), 2 * held.size());
  expectWindowUsable();
}

TEST_F(HostileFilesWindow, TruncatedAndHeaderlessFilesPlayToTheEndOfTheirDataAndStop) {
  harness.window().AudioPlayer21().setNullOutputSpeed(40);
  harness.addFiles({media("truncated.mp3"), media("vbr8.mp3"), media("id3tooshort.mp3")});
  for (int row = 0; row < harness.window().lv().topLevelItemCount(); ++row) {
    harness.clickSourceRow(row);
    harness.clickSkin("play");
    EXPECT_TRUE(harness.player().IsPlaying()) << "row " << row;
    EXPECT_TRUE(QTest::qWaitFor([this] { return !harness.player().IsPlaying(); }, 20000))
        << "row " << row << " never ended";
  }
  EXPECT_TRUE(harness.platform().errors.isEmpty())
      << harness.platform().errors.join('\n').toStdString();
  expectWindowUsable();
}

TEST_F(HostileFilesWindow, AnId3SizeThatLiesNeitherCrashesNorMisplacesTheList) {
  harness.addFiles({media("id3toolong.mp3"), media("id3tooshort.mp3"), media("good3.mp3")});
  expectListAligned();
  const QStringList captions = harness.sourceCaptions();
  EXPECT_EQ(captions.size() + harness.platform().informations.size(), 3)
      << "every file is either added or refused with a message";
  EXPECT_EQ(captions.value(captions.size() - 1), "good3.mp3");
  for (const QString& message : harness.platform().informations) {
    EXPECT_TRUE(message.startsWith("id3too")) << message.toStdString();
  }
  harness.clickSkin("Split");
  EXPECT_TRUE(harness.platform().errors.isEmpty())
      << harness.platform().errors.join('\n').toStdString();
  EXPECT_TRUE(outputs().contains("good3_2.mp3"));
  joinInto("joined.mp3");
  EXPECT_TRUE(harness.platform().errors.isEmpty())
      << harness.platform().errors.join('\n').toStdString();
  expectWindowUsable();
}

TEST_F(HostileFilesWindow, AVbrMp3WithoutAHeaderGetsItsRealLengthAndWholePieces) {
  harness.addFiles({media("vbr8.mp3")});
  ASSERT_EQ(harness.sourceCaptions(), QStringList{"vbr8.mp3"});
  const SourceRecord& record = harness.window().sources().at(0);
  const double decodedSeconds = testing::decodeFile(media("vbr8.mp3")).size() / 22050.0;
  EXPECT_NEAR(record.lengthSeconds, decodedSeconds, 1.0);
  EXPECT_EQ(harness.segmentRows().size(), 4) << "8 s in pieces of 2 s";
  harness.clickSkin("Split");
  EXPECT_TRUE(harness.platform().errors.isEmpty())
      << harness.platform().errors.join('\n').toStdString();
  ASSERT_EQ(outputs(), QStringList({"vbr8_1.mp3", "vbr8_2.mp3", "vbr8_3.mp3", "vbr8_4.mp3"}));
  for (const QString& name : outputs()) {
    const double seconds =
        testing::decodeFile(harness.outputDir() + name).size() / (2 * 44100.0);  // stereo values
    EXPECT_NEAR(seconds, 2.0, 0.15) << name.toStdString();
  }
}

TEST_F(HostileFilesWindow, AFileGoneAfterAddingEndsSplitAndJoinWithOneMessageEach) {
  const QString gone = harness.mediaPath("gone.mp3");
  ASSERT_TRUE(QFile::copy(media("good3.mp3"), gone));
  harness.addFiles({media("good3.mp3"), gone});
  ASSERT_TRUE(QFile::remove(gone));

  harness.clickSourceRow(1);
  harness.clickSkin("play");
  EXPECT_EQ(harness.platform().errors.size(), 1);
  EXPECT_FALSE(harness.player().IsPlaying());

  harness.clickSkin("Split");
  ASSERT_EQ(harness.platform().errors.size(), 2);
  EXPECT_TRUE(harness.platform().errors[1].contains("gone.mp3"))
      << harness.platform().errors[1].toStdString();
  EXPECT_FALSE(harness.window().jobRunning());
  // The error ends the job: a piece of good3 still being written beside it
  // is removed rather than left cut off, so which of good3's pieces remain
  // depends on how far the other worker had got; nothing of gone.mp3 is.
  for (const QString& output : outputs())
    EXPECT_TRUE(output == "good3_1.mp3" || output == "good3_2.mp3") << output.toStdString();

  joinInto("joined.mp3");
  ASSERT_EQ(harness.platform().errors.size(), 3);
  EXPECT_TRUE(harness.platform().errors[2].contains("gone.mp3"))
      << harness.platform().errors[2].toStdString();
  EXPECT_FALSE(outputs().contains("joined.mp3")) << "a join cut off is not left looking whole";
  EXPECT_EQ(harness.sourceCaptions(), QStringList({"good3.mp3", "gone.mp3"}));
  expectWindowUsable();
}

TEST_F(HostileFilesWindow, AFolderInPlaceOfAnAddedFileIsReportedNotRead) {
  const QString path = harness.mediaPath("replaced.mp3");
  ASSERT_TRUE(QFile::copy(media("good3.mp3"), path));
  harness.addFiles({path, media("good3.mp3")});
  ASSERT_TRUE(QFile::remove(path));
  ASSERT_TRUE(QDir().mkpath(path));

  harness.clickSkin("play");
  EXPECT_EQ(harness.platform().errors.size(), 1);
  EXPECT_FALSE(harness.player().IsPlaying());
  harness.clickSkin("Split");
  ASSERT_EQ(harness.platform().errors.size(), 2);
  EXPECT_TRUE(harness.platform().errors[1].contains("replaced.mp3"))
      << harness.platform().errors[1].toStdString();
  EXPECT_TRUE(outputs().isEmpty()) << outputs().join(',').toStdString();
  joinInto("joined.mp3");
  EXPECT_EQ(harness.platform().errors.size(), 3);
  EXPECT_TRUE(outputs().isEmpty()) << outputs().join(',').toStdString();
  EXPECT_TRUE(QFileInfo(path).isDir()) << "the folder is left alone";

  // Adding the folder by its name is refused like any unreadable file.
  harness.addFiles({path});
  EXPECT_EQ(harness.platform().informations.size(), 1);
  EXPECT_EQ(harness.sourceCaptions().size(), 2);
  expectWindowUsable();
}

TEST_F(HostileFilesWindow, ForeignScriptsEmojiQuotesAndLeadingDotsSurviveSplitAndJoin) {
  const QStringList names = {QStringLiteral("Лето в городе.mp3"), QStringLiteral("夏天的歌.mp3"),
                             QStringLiteral("🎵 it's \"loud\" 🎸.mp3"), QStringLiteral(".hidden.mp3"),
                             QStringLiteral("  two  spaces .mp3")};
  QStringList paths;
  for (const QString& name : names) {
    paths << harness.mediaPath(name);
    ASSERT_TRUE(QFile::copy(media("good3.mp3"), paths.back()));
  }
  testing::setMp3Title(paths[1], QStringLiteral("夏天 🌞 Ёлка"));
  harness.addFiles(paths);
  ASSERT_EQ(harness.sourceCaptions().size(), 5)
      << harness.platform().messages().join('\n').toStdString();
  EXPECT_EQ(harness.sourceCaptions()[1], QStringLiteral("夏天 🌞 Ёлка"));
  harness.clickSkin("Split");
  EXPECT_TRUE(harness.platform().errors.isEmpty())
      << harness.platform().errors.join('\n').toStdString();
  const QStringList files = outputs();
  EXPECT_EQ(files.size(), 10) << files.join('\n').toStdString();
  for (const QString& stem : {QStringLiteral("Лето в городе"), QStringLiteral("夏天 🌞 Ёлка")}) {
    EXPECT_TRUE(files.contains(stem + "_1.mp3"))
        << stem.toStdString() << " in " << files.join('|').toStdString();
    EXPECT_TRUE(files.contains(stem + "_2.mp3")) << stem.toStdString();
  }
  for (const QString& name : files) {
    EXPECT_GT(testing::decodeFile(harness.outputDir() + name).size(), 44100u) << name.toStdString();
  }
  joinInto(QStringLiteral("всё 🎶 \"together\""));
  EXPECT_TRUE(harness.platform().errors.isEmpty())
      << harness.platform().errors.join('\n').toStdString();
  const QString joined = harness.outputDir() + QStringLiteral("всё 🎶 \"together\".mp3");
  EXPECT_GT(testing::decodeFile(joined).size(), 5u * 3 * 44100 - 44100);
}

TEST_F(HostileFilesWindow, AnOverlongCaptionIsShortenedKeepingTheNumberAndExtension) {
  const QString path = harness.mediaPath("long.mp3");
  ASSERT_TRUE(QFile::copy(media("good3.mp3"), path));
  QString title;
  while (title.toUtf8().size() < 400) title += QStringLiteral("Длинное 🎵 名前 ");
  testing::setMp3Title(path, title);
  harness.addFiles({path});
  ASSERT_EQ(harness.sourceCaptions().size(), 1);
  harness.clickSkin("Split");
  EXPECT_TRUE(harness.platform().errors.isEmpty())
      << harness.platform().errors.join('\n').toStdString();
  const QStringList files = outputs();
  ASSERT_EQ(files.size(), 2) << files.join('\n').toStdString();
  for (int i = 0; i < 2; ++i) {
    const QString& name = files[i];
    EXPECT_LE(name.toUtf8().size(), 255);
    EXPECT_GE(name.toUtf8().size(), 240) << "no more is cut than needed";
    EXPECT_TRUE(name.endsWith(QStringLiteral("_%1.mp3").arg(i + 1))) << name.toStdString();
    EXPECT_TRUE(title.startsWith(name.left(20))) << name.toStdString();
    EXPECT_FALSE(name.contains(QChar::ReplacementCharacter)) << "cut on a character boundary";
    EXPECT_EQ(QString::fromUtf8(name.toUtf8()), name);
  }
  expectWindowUsable();
}

}  // namespace
}  // namespace tarvex
