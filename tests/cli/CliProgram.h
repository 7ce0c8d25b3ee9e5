#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace tarvex::testing {

// One finished run of the built tarvex-cli.
struct CliRun {
  int exitCode = -1;
  bool crashed = false;
  QString out;
  QString err;
};

// Runs tarvex-cli with `arguments` in `workingFolder` (settings kept in a
// folder of the test's own) and waits for it to end.
CliRun runCli(const QStringList& arguments, const QString& workingFolder = {});

// Runs an outside tool; returns its standard output, nothing when it failed.
std::optional<QString> runTool(const QString& program, const QStringList& arguments);

}  // namespace tarvex::testing
