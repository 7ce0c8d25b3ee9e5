// Damaged MP3 files through the built tarvex-cli: no crash, no run past 30 s
// on a source of about 6 s, and no success reported with an output ffmpeg
// cannot read. TARVEX_MUTATIONS sets how many files are made (default 18, three of each kind).
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <random>
#include <stdexcept>

#include "tests/mutation/MutatedFiles.h"
#include "tests/support/LameSources.h"
#include "tests/support/OutsideTool.h"
#include "tests/support/TempFolder.h"

namespace tarvex::testing {
namespace {

constexpr int kRunLimitMs = 30000;

struct CliOutcome {
  bool finished = false;
  bool crashed = false;
  int exitCode = -1;
  QString err;
};

CliOutcome runCli(const QStringList& arguments, const QString& configFolder) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("TARVEX_CONFIG_DIR"), configFolder);
  process.setProcessEnvironment(environment);
  process.start(QStringLiteral(TARVEX_CLI_PROGRAM), arguments);
  CliOutcome run;
  run.finished = process.waitForFinished(kRunLimitMs);
  if (!run.finished) {
    process.kill();
    process.waitForFinished();
    return run;
  }
  run.crashed = process.exitStatus() != QProcess::NormalExit;
  run.exitCode = process.exitCode();
  run.err = QString::fromUtf8(process.readAllStandardError());
  return run;
}

int mutationCount() {
  bool ok = false;
  const int asked = qEnvironmentVariableIntValue("TARVEX_MUTATIONS", &ok);
  return ok && asked > 0 ? asked : 18;
}

bool ffmpegReads(const QString& path) {
  try {
    return !ffmpegSamplesS32(path).empty();
  } catch (const std::runtime_error&) {
    return false;
  }
}

TEST(MutationHarness, DamagedFilesNeverCrashHangOrEndInASuccessWithUnreadableOutput) {
  TempFolder media;
  const QString source = makeLameMp3(media.path(), "source", 6.13, 22050, 1, {"-b", "48"});
  const QString other = makeLameMp3(media.path(), "other", 1.37, 44100, 2, {"-b", "128"});
  ASSERT_FALSE(source.isEmpty());
  ASSERT_FALSE(other.isEmpty());
  const Mp3Bytes original = readMp3Bytes(source);
  const Mp3Bytes splicedIn = readMp3Bytes(other);
  ASSERT_GT(original.frameOffsets.size(), 100u);

  std::mt19937 random(24);  // the same files every run
  const int count = mutationCount();
  for (int index = 0; index < count; ++index) {
    const auto mutation = static_cast<Mutation>(index % kMutationKinds);
    const QString name = QStringLiteral("m%1-%2.mp3").arg(index).arg(static_cast<int>(mutation));
    const QString path = media.path(name);
    {
      QFile file(path);
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      file.write(mutate(original, splicedIn, mutation, random));
    }
    const QStringList commands[] = {
        {"probe", path},
        {"split", path, "--every", "2", "--format", "mp3-copy", "-o", "OUT"},
        {"split", path, "--every", "2", "--format", "mp3", "-o", "OUT"},
    };
    for (QStringList command : commands) {
      QTemporaryDir out;
      QTemporaryDir config;
      command.replaceInStrings(QStringLiteral("OUT"), out.path());
      QElapsedTimer clock;
      clock.start();
      const CliOutcome run = runCli(command, config.path());
      const QString what = name + QLatin1Char(' ') + command.join(QLatin1Char(' '));
      ASSERT_TRUE(run.finished) << "ran past 30 s: " << what.toStdString();
      ASSERT_FALSE(run.crashed) << what.toStdString() << "\n" << run.err.toStdString();
      EXPECT_TRUE(run.exitCode == 0 || run.exitCode == 1)
          << what.toStdString() << " exited " << run.exitCode;
      EXPECT_FALSE(run.err.contains(QStringLiteral(" @ 0x"))) << "raw FFmpeg log\n"
                                                              << run.err.toStdString();
      if (run.exitCode != 0 || command.first() != QStringLiteral("split")) continue;
      const QStringList pieces = QDir(out.path()).entryList(QDir::Files);
      EXPECT_FALSE(pieces.isEmpty()) << "success with nothing written: " << what.toStdString();
      for (const QString& piece : pieces)
        EXPECT_TRUE(ffmpegReads(out.path() + QLatin1Char('/') + piece))
            << "success with an output ffmpeg cannot read: " << piece.toStdString() << " of "
            << what.toStdString();
    }
  }
}

}  // namespace
}  // namespace tarvex::testing
