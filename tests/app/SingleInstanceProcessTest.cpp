#include <gtest/gtest.h>
#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

namespace tarvex {
namespace {

// Each start gets the test's own folders: the settings, and the temporary
// folder where the single-instance socket lives, so that a copy of the program
// the user runs, or a second suite running at once, is neither seen nor
// disturbed.
QProcess* startProgram(const QString& configFolder, const QString& socketFolder,
                       const QStringList& arguments = {}, const QString& workingFolder = {}) {
  auto* process = new QProcess;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  environment.insert("TARVEX_AUDIO_OUTPUT", "null");
  environment.insert("TARVEX_CONFIG_DIR", configFolder);
  environment.insert("XDG_CONFIG_HOME", configFolder);
  environment.insert("HOME", configFolder);
  environment.insert("TMPDIR", socketFolder);
  process->setProcessEnvironment(environment);
  if (!workingFolder.isEmpty()) process->setWorkingDirectory(workingFolder);
  process->start(QStringLiteral(TARVEX_PROGRAM), arguments);
  return process;
}

TEST(SingleInstanceProcess, ASecondStartExitsAtOnceWithCodeZero) {
  QTemporaryDir config;
  QTemporaryDir sockets;
  ASSERT_TRUE(config.isValid() && sockets.isValid());
  std::unique_ptr<QProcess> first(startProgram(config.path(), sockets.path()));
  ASSERT_TRUE(first->waitForStarted(10000));
  // Give the first instance time to claim the title.
  EXPECT_FALSE(first->waitForFinished(1500)) << "the first instance keeps running";
  EXPECT_EQ(QDir(sockets.path()).entryList({"tarvex-*"}, QDir::System).size(), 1)
      << "the instance's socket lies in the test's own folder";

  std::unique_ptr<QProcess> second(startProgram(config.path(), sockets.path()));
  ASSERT_TRUE(second->waitForStarted(10000));
  ASSERT_TRUE(second->waitForFinished(10000)) << "the second instance must not stay";
  EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second->exitCode(), 0);
  EXPECT_EQ(first->state(), QProcess::Running);

  first->kill();
  first->waitForFinished(5000);
  // A killed instance leaves its socket; the next start must still work.
  std::unique_ptr<QProcess> third(startProgram(config.path(), sockets.path()));
  ASSERT_TRUE(third->waitForStarted(10000));
  EXPECT_FALSE(third->waitForFinished(1500)) << "the next start runs after a crash";
  third->kill();
  third->waitForFinished(5000);
}

TEST(SingleInstanceProcess, ASecondStartWithFilesHandsThemOverAndExits) {
  QTemporaryDir config;
  QTemporaryDir sockets;
  QTemporaryDir music;
  ASSERT_TRUE(config.isValid() && sockets.isValid() && music.isValid());
  std::unique_ptr<QProcess> first(startProgram(config.path(), sockets.path()));
  ASSERT_TRUE(first->waitForStarted(10000));
  EXPECT_FALSE(first->waitForFinished(1500)) << "the first instance keeps running";

  std::unique_ptr<QProcess> second(
      startProgram(config.path(), sockets.path(), {"a.mp3", "b.wav"}, music.path()));
  ASSERT_TRUE(second->waitForStarted(10000));
  ASSERT_TRUE(second->waitForFinished(10000)) << "the second instance hands over and ends";
  EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second->exitCode(), 0);
  // The first takes the (missing) files and tells about them without ending.
  EXPECT_FALSE(first->waitForFinished(1000));
  EXPECT_EQ(first->state(), QProcess::Running);
  first->kill();
  first->waitForFinished(5000);
}

}  // namespace
}  // namespace tarvex
