#include <gtest/gtest.h>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "tests/cli/CliProgram.h"
#include "tests/support/GeneratedAudio.h"
#include "tests/support/TempFolder.h"

namespace tarvex::testing {
namespace {

TEST(CliProgram, VersionHelpAndBadUsageExitAsDocumented) {
  const CliRun version = runCli({"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_TRUE(version.out.startsWith("tarvex-cli 1.")) << version.out.toStdString();

  for (const char* command : {"split", "join", "probe", "tags"}) {
    const CliRun help = runCli({command, "--help"});
    EXPECT_EQ(help.exitCode, 0) << command;
    EXPECT_TRUE(help.out.contains(QStringLiteral("Usage: tarvex-cli %1").arg(command))) << command;
  }
  const CliRun noCommand = runCli({});
  EXPECT_EQ(noCommand.exitCode, 2);
  EXPECT_TRUE(noCommand.err.contains("tarvex-cli --help")) << noCommand.err.toStdString();
  const CliRun unknown = runCli({"probe", "--loud", "a.mp3"});
  EXPECT_EQ(unknown.exitCode, 2);
  EXPECT_TRUE(unknown.err.contains("--loud")) << unknown.err.toStdString();
  EXPECT_TRUE(unknown.out.isEmpty());
}

TEST(CliProgram, ProbeGivesExactFramesLengthRateChannelsAndFormat) {
  TempFolder folder;
  const int64_t wavFrames = writeToneFile(folder.path("tone.wav"), 2.5, 22050, 1, AudioFormat::Wav);
  const int64_t mp3Frames =
      writeToneFile(folder.path("tone.mp3"), 1.25, 44100, 2, AudioFormat::Mp3);
  ASSERT_EQ(wavFrames, 55125);

  // Relative names are the caller's folder's.
  const CliRun text = runCli({"probe", "tone.wav"}, folder.path());
  EXPECT_EQ(text.exitCode, 0) << text.err.toStdString();
  EXPECT_TRUE(text.out.contains("0:00:02.500 (55125 frames)")) << text.out.toStdString();
  EXPECT_TRUE(text.out.contains("22050 Hz")) << text.out.toStdString();
  EXPECT_TRUE(text.out.contains("WAV")) << text.out.toStdString();

  const CliRun json = runCli({"probe", "--json", folder.path("tone.mp3"), folder.path("tone.wav")});
  ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
  const QJsonArray reports = QJsonDocument::fromJson(json.out.toUtf8()).array();
  ASSERT_EQ(reports.size(), 2) << json.out.toStdString();
  const QJsonObject mp3 = reports[0].toObject();
  EXPECT_EQ(mp3["frames"].toInteger(), mp3Frames);
  EXPECT_EQ(mp3["sampleRate"].toInt(), 44100);
  EXPECT_EQ(mp3["channels"].toInt(), 2);
  EXPECT_EQ(mp3["format"].toString(), "MP3");
  EXPECT_EQ(mp3["length"].toString(), "0:00:01.250");
  EXPECT_EQ(reports[1].toObject()["channels"].toInt(), 1);
}

TEST(CliProgram, ProbeNamesAFileThatFailsAndGoesOnWithTheOthers) {
  TempFolder folder;
  writeToneFile(folder.path("good.wav"), 0.5, 8000, 1, AudioFormat::Wav);
  writeText(folder.path("notes.mp3"), "not audio at all");
  const CliRun run = runCli({"probe", "--json", folder.path("missing.mp3"),
                             folder.path("notes.mp3"), folder.path("good.wav")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.err.contains(folder.path("missing.mp3"))) << run.err.toStdString();
  EXPECT_TRUE(run.err.contains(folder.path("notes.mp3"))) << run.err.toStdString();
  const QJsonArray reports = QJsonDocument::fromJson(run.out.toUtf8()).array();
  ASSERT_EQ(reports.size(), 3) << run.out.toStdString();
  EXPECT_TRUE(reports[0].toObject().contains("error"));
  EXPECT_EQ(reports[2].toObject()["frames"].toInteger(), 4000);
}

TEST(CliProgram, TagsAreSetKeptAndReadBackByAnOutsideReader) {
  TempFolder folder;
  const QString mp3 = folder.path("song.mp3");
  writeToneFile(mp3, 0.5, 44100, 1, AudioFormat::Mp3);
  ASSERT_TRUE(runTool("mid3v2", {"--artist", "Old Band", "--TRCK", "7", mp3}).has_value());

  const CliRun set =
      runCli({"tags", mp3, "--title", "Dawn Chorus", "--year", "1999", "--comment", "first take"});
  ASSERT_EQ(set.exitCode, 0) << set.err.toStdString();
  const QString listed = runTool("mid3v2", {"--list", mp3}).value_or(QString());
  EXPECT_TRUE(listed.contains("TIT2=Dawn Chorus")) << listed.toStdString();
  EXPECT_TRUE(listed.contains("TPE1=Old Band")) << listed.toStdString();  // untouched fields stay
  EXPECT_TRUE(listed.contains("TRCK=7")) << listed.toStdString();
  EXPECT_TRUE(listed.contains("first take")) << listed.toStdString();

  const CliRun show = runCli({"tags", mp3});
  EXPECT_EQ(show.exitCode, 0);
  EXPECT_TRUE(show.out.contains("Dawn Chorus")) << show.out.toStdString();
  EXPECT_TRUE(show.out.contains("1999")) << show.out.toStdString();
  // The audio still decodes to the same length.
  const CliRun probe = runCli({"probe", "--json", mp3});
  EXPECT_EQ(QJsonDocument::fromJson(probe.out.toUtf8())
                .array()[0]
                .toObject()["tags"]
                .toObject()["title"]
                .toString(),
            "Dawn Chorus");
}

TEST(CliProgram, OggTagsAreWrittenAsVorbisComments) {
  TempFolder folder;
  const QString ogg = folder.path("song.ogg");
  writeToneFile(ogg, 0.5, 44100, 2, AudioFormat::Ogg);
  const CliRun set = runCli({"tags", ogg, "--artist", "Quartet", "--genre", "Jazz"});
  ASSERT_EQ(set.exitCode, 0) << set.err.toStdString();
  const QString comments = runTool("vorbiscomment", {"-l", ogg}).value_or(QString());
  EXPECT_TRUE(comments.contains("ARTIST=Quartet", Qt::CaseInsensitive)) << comments.toStdString();
  EXPECT_TRUE(comments.contains("GENRE=Jazz", Qt::CaseInsensitive)) << comments.toStdString();
}

TEST(CliProgram, TagsRefuseFilesWithoutATagFamilyAndMissingFiles) {
  TempFolder folder;
  const QString wav = folder.path("plain.wav");
  writeToneFile(wav, 0.2, 8000, 1, AudioFormat::Wav);
  const QByteArray before = [&] {
    QFile file(wav);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }();
  const CliRun wavRun = runCli({"tags", wav, "--title", "x"});
  EXPECT_EQ(wavRun.exitCode, 1);
  EXPECT_TRUE(wavRun.err.contains(wav)) << wavRun.err.toStdString();
  QFile after(wav);
  ASSERT_TRUE(after.open(QIODevice::ReadOnly));
  EXPECT_EQ(after.readAll(), before);

  const CliRun missing = runCli({"tags", folder.path("gone.mp3"), "--title", "x"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_TRUE(missing.err.contains("gone.mp3")) << missing.err.toStdString();
  EXPECT_TRUE(missing.err.contains("no such file")) << missing.err.toStdString();
  EXPECT_FALSE(QFile::exists(folder.path("gone.mp3")));
}

}  // namespace
}  // namespace tarvex::testing
