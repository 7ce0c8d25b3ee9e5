#include "tests/cli/CliProgram.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

namespace tarvex::testing {

CliRun runCli(const QStringList& arguments, const QString& workingFolder) {
  QTemporaryDir config;
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("TARVEX_CONFIG_DIR"), config.path());
  process.setProcessEnvironment(environment);
  if (!workingFolder.isEmpty()) process.setWorkingDirectory(workingFolder);
  process.start(QStringLiteral(TARVEX_CLI_PROGRAM), arguments);
  CliRun run;
  if (!process.waitForFinished(120000)) {
    process.kill();
    process.waitForFinished();
    run.crashed = true;
    return run;
  }
  run.crashed = process.exitStatus() != QProcess::NormalExit;
  run.exitCode = process.exitCode();
  run.out = QString::fromUtf8(process.readAllStandardOutput());
  run.err = QString::fromUtf8(process.readAllStandardError());
  return run;
}

std::optional<QString> runTool(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
      process.exitCode() != 0) {
    return std::nullopt;
  }
  return QString::fromUtf8(process.readAllStandardOutput());
}

}  // namespace tarvex::testing
