#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <csignal>

#include "tests/cli/CliProgram.h"
#include "tests/support/CarriedTagFiles.h"
#include "tests/support/CopiedFrames.h"
#include "tests/support/GeneratedAudio.h"
#include "tests/support/LameSources.h"
#include "tests/support/TempFolder.h"

namespace tarvex::testing {
namespace {

// Frames of a file as our probe measures them (-1 when it cannot).
int64_t framesOf(const QString& path) {
  const CliRun probe = runCli({"probe", "--json", path});
  const QJsonObject report = QJsonDocument::fromJson(probe.out.toUtf8()).array()[0].toObject();
  return report.contains("frames") ? report["frames"].toInteger() : -1;
}

// Seconds of a file as ffprobe reads it (-1 when it cannot).
double ffprobeSeconds(const QString& path) {
  const QString out = runTool("ffprobe", {"-v", "error", "-show_entries", "format=duration", "-of",
                                          "default=nw=1:nk=1", path})
                          .value_or(QString());
  bool ok = false;
  const double seconds = out.trimmed().toDouble(&ok);
  return ok ? seconds : -1;
}

QStringList filesIn(const QString& folder) {
  return QDir(folder).entryList(QDir::Files, QDir::Name);
}

// CD-quality WAV pieces keep a 44.1 kHz stereo source's frames exactly.
class SplitJoinProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(QDir().mkpath(out_.path()));
    source_ = media_.path("talk.wav");
    ASSERT_EQ(writeToneFile(source_, 5.5, 44100, 2, AudioFormat::Wav), 242550);
  }
  TempFolder media_;
  TempFolder out_;
  QString source_;
};

TEST_F(SplitJoinProgram, EveryNSecondsGivesExactPiecesAndTheTail) {
  const CliRun run =
      runCli({"split", source_, "--every", "2", "--format", "wav", "-o", out_.path()});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_EQ(filesIn(out_.path()), QStringList({"talk_1.wav", "talk_2.wav", "talk_3.wav"}));
  EXPECT_EQ(framesOf(out_.path("talk_1.wav")), 88200);
  EXPECT_EQ(framesOf(out_.path("talk_2.wav")), 88200);
  EXPECT_EQ(framesOf(out_.path("talk_3.wav")), 66150);
  // Progress went to stderr as plain lines (not a terminal).
  EXPECT_TRUE(run.err.contains("talk_3.wav: done")) << run.err.toStdString();
  EXPECT_TRUE(run.out.isEmpty());
}

TEST_F(SplitJoinProgram, PiecesIntoMp3CarryTheTitleAndNeverOverwrite) {
  const QString song = media_.path("song.mp3");
  writeToneFile(song, 3.0, 44100, 2, AudioFormat::Mp3);
  ASSERT_TRUE(runTool("mid3v2", {"--song", "Morning", "--artist", "Lark", song}).has_value());
  writeText(out_.path("Morning_1.mp3"), "already here");

  const CliRun run = runCli(
      {"split", "song.mp3", "--pieces", "3", "--output", out_.path(), "--quiet"}, media_.path());
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
  EXPECT_EQ(filesIn(out_.path()),
            QStringList({"Morning_1.mp3", "Morning_2.mp3", "Morning_3.mp3", "Morning_4.mp3"}));
  EXPECT_EQ(readText(out_.path("Morning_1.mp3")), "already here");
  for (const char* name : {"Morning_2.mp3", "Morning_3.mp3", "Morning_4.mp3"}) {
    EXPECT_NEAR(ffprobeSeconds(out_.path(name)), 1.0, 0.1) << name;
    const QString tags = runTool("mid3v2", {"--list", out_.path(name)}).value_or(QString());
    EXPECT_TRUE(tags.contains("TPE1=Lark")) << name << tags.toStdString();
  }
}

TEST_F(SplitJoinProgram, CopiedMp3PiecesCarryTheSourcesPictureAndEveryOtherFrame) {
  const QString song = media_.path("song.mp3");
  writeToneFile(song, 3.37, 44100, 2, AudioFormat::Mp3);
  ASSERT_FALSE(smallPng(media_.path()).isEmpty());
  tagRichMp3(song, media_.path("cover.png"));
  const QStringList carried =
      mutagenTagLines(song).filter(QRegularExpression("^(PICTURE|TCOM|COMM|TPOS|TXXX:MOOD|USLT)"));
  ASSERT_EQ(carried.size(), 6);

  const CliRun run = runCli(
      {"split", song, "--pieces", "2", "--format", "mp3-copy", "-o", out_.path(), "--quiet"});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  for (const QString& name : filesIn(out_.path())) {
    const QStringList lines = mutagenTagLines(out_.path(name));
    for (const QString& line : carried)
      EXPECT_TRUE(lines.contains(line)) << name.toStdString() << " " << line.toStdString();
    EXPECT_TRUE(lines.filter(QRegularExpression("^(TLEN|TXXX:REPLAYGAIN)")).isEmpty());
    const QString eyed3 = runTool("eyeD3", {"--no-color", out_.path(name)}).value_or(QString());
    EXPECT_TRUE(eyed3.contains("FRONT_COVER")) << eyed3.toStdString();
  }
  EXPECT_EQ(filesIn(out_.path()).size(), 2);
}

TEST_F(SplitJoinProgram, RangesCutTheMarkedStretchesAndReportOnesPastTheEnd) {
  const CliRun run = runCli(
      {"split", source_, "--ranges", "0:01-0:03,0:04-0:09", "--format", "wav", "-o", out_.path()});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_EQ(framesOf(out_.path("talk_1.wav")), 88200);
  EXPECT_EQ(framesOf(out_.path("talk_2.wav")), 242550 - 176400);  // lowered to the end

  const CliRun past = runCli({"split", source_, "--ranges", "0:10-0:20", "-o", out_.path()});
  EXPECT_EQ(past.exitCode, 1);
  EXPECT_TRUE(past.err.contains(source_)) << past.err.toStdString();
  EXPECT_EQ(filesIn(out_.path()).size(), 2);
}

TEST_F(SplitJoinProgram, OggAndWmaPiecesDecodeWithFades) {
  for (const char* format : {"ogg", "wma"}) {
    TempFolder folder;
    const CliRun run = runCli({"split", source_, "--every", "3", "--format", format, "--fade-in",
                               "1", "--fade-out", "1", "-o", folder.path()});
    ASSERT_EQ(run.exitCode, 0) << format << run.err.toStdString();
    const QStringList pieces = filesIn(folder.path());
    ASSERT_EQ(pieces.size(), 2) << format;
    EXPECT_NEAR(ffprobeSeconds(folder.path(pieces[0])), 3.0, 0.2) << format;
    EXPECT_NEAR(ffprobeSeconds(folder.path(pieces[1])), 2.5, 0.2) << format;
  }
}

TEST_F(SplitJoinProgram, JoinWritesTheFilesInOrderAndNeverOverwrites) {
  const QString second = media_.path("second.wav");
  ASSERT_EQ(writeToneFile(second, 1.0, 44100, 2, AudioFormat::Wav), 44100);
  const QString joined = out_.path("both.wav");
  const CliRun run = runCli({"join", source_, second, "-o", joined, "--quiet"});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_EQ(framesOf(joined), 242550 + 44100);

  const QByteArray before = [&] {
    QFile file(joined);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }();
  const CliRun again = runCli({"join", source_, "-o", joined});
  EXPECT_EQ(again.exitCode, 1);
  EXPECT_TRUE(again.err.contains(joined)) << again.err.toStdString();
  QFile after(joined);
  ASSERT_TRUE(after.open(QIODevice::ReadOnly));
  EXPECT_EQ(after.readAll(), before);

  // Without an extension the output is MP3 and gets one.
  const CliRun mp3 = runCli({"join", second, "-o", out_.path("short"), "--bitrate", "64"});
  ASSERT_EQ(mp3.exitCode, 0) << mp3.err.toStdString();
  EXPECT_NEAR(ffprobeSeconds(out_.path("short.mp3")), 1.0, 0.1);
}

TEST_F(SplitJoinProgram, MissingFilesAndUnusableFoldersFailWithTheirNames) {
  const QString missing = media_.path("gone.mp3");
  const CliRun join = runCli({"join", source_, missing, "-o", out_.path("x.mp3")});
  EXPECT_EQ(join.exitCode, 1);
  EXPECT_TRUE(join.err.contains(missing)) << join.err.toStdString();
  EXPECT_TRUE(filesIn(out_.path()).isEmpty()) << "a join with a part missing writes nothing";

  // A missing source does not keep the others from being split.
  const CliRun split =
      runCli({"split", missing, source_, "--pieces", "1", "-o", out_.path(), "--format", "wav"});
  EXPECT_EQ(split.exitCode, 1);
  EXPECT_TRUE(split.err.contains(missing)) << split.err.toStdString();
  EXPECT_EQ(filesIn(out_.path()), QStringList({"talk_1.wav"}));

  const CliRun underAFile =
      runCli({"split", source_, "--pieces", "1", "-o", source_ + "/none/deeper"});
  EXPECT_EQ(underAFile.exitCode, 1);
  EXPECT_TRUE(underAFile.err.contains("Cannot create the folder")) << underAFile.err.toStdString();

  // /proc takes no new files, not even from root.
  const CliRun unwritable = runCli({"split", source_, "--pieces", "1", "-o", "/proc/self"});
  EXPECT_EQ(unwritable.exitCode, 1);
  EXPECT_TRUE(unwritable.err.contains("/proc/self")) << unwritable.err.toStdString();

  const CliRun badSettings =
      runCli({"split", source_, "--pieces", "1", "-o", out_.path(), "--settings", missing});
  EXPECT_EQ(badSettings.exitCode, 1);
  EXPECT_TRUE(badSettings.err.contains(missing)) << badSettings.err.toStdString();
}

TEST_F(SplitJoinProgram, CtrlCDuringASplitLeavesNoCutOffFile) {
  const QString longSource = media_.path("long.wav");
  writeToneFile(longSource, 120.0, 44100, 2, AudioFormat::Wav);
  QTemporaryDir config;
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("TARVEX_CONFIG_DIR", config.path());
  process.setProcessEnvironment(environment);
  process.setReadChannel(QProcess::StandardError);
  process.start(QStringLiteral(TARVEX_CLI_PROGRAM),
                {"split", longSource, "--pieces", "1", "-o", out_.path()});
  ASSERT_TRUE(process.waitForStarted(10000));
  // Wait until the piece is being written, then press Ctrl-C.
  QByteArray err;
  while (!err.contains("writing") && process.waitForReadyRead(30000)) {
    err += process.readAllStandardError();
  }
  ASSERT_TRUE(err.contains("writing")) << err.toStdString();
  ::kill(static_cast<pid_t>(process.processId()), SIGINT);
  ASSERT_TRUE(process.waitForFinished(30000));
  err += process.readAllStandardError();
  EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(process.exitCode(), 130) << err.toStdString();
  EXPECT_TRUE(filesIn(out_.path()).isEmpty()) << filesIn(out_.path()).join(' ').toStdString();
}

TEST_F(SplitJoinProgram, Mp3CopyCopiesFramesAlsoWithFades) {
  const QString song = makeLameMp3(media_.path(), "song", 3.3, 44100, 2, {"-V", "5"});
  ASSERT_FALSE(song.isEmpty());
  const CliRun copied =
      runCli({"split", song, "--every", "1", "--format", "mp3-copy", "-o", out_.path(), "--quiet"});
  ASSERT_EQ(copied.exitCode, 0) << copied.err.toStdString();
  EXPECT_TRUE(copied.err.isEmpty()) << copied.err.toStdString();
  const QStringList pieces = filesIn(out_.path());
  // The last piece runs from 2 s to the end.
  ASSERT_EQ(pieces, QStringList({"song_1.mp3", "song_2.mp3", "song_3.mp3"}));
  int64_t frames = 0;
  for (const QString& piece : pieces) {
    EXPECT_TRUE(sharesFrameBytes(song, out_.path(piece))) << piece.toStdString();
    frames += framesOf(out_.path(piece));
  }
  EXPECT_EQ(frames, framesOf(song));

  const QString faded = media_.path("faded");
  ASSERT_TRUE(QDir().mkpath(faded));
  // Fades are encoded with the frames they reach: nothing to note.
  const CliRun withFades = runCli({"split", song, "--pieces", "3", "--format", "mp3-copy",
                                   "--fade-in", "1", "-o", faded, "--quiet"});
  ASSERT_EQ(withFades.exitCode, 0) << withFades.err.toStdString();
  EXPECT_TRUE(withFades.err.isEmpty()) << withFades.err.toStdString();
  EXPECT_EQ(filesIn(faded).size(), 3);
}

}  // namespace
}  // namespace tarvex::testing
