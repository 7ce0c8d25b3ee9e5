#pragma once

#include <QStringList>
#include <QTextStream>

namespace tarvex::cli {

// The program's exit statuses.
constexpr int kExitDone = 0;
constexpr int kExitFileFailed = 1;
constexpr int kExitBadUsage = 2;

// Runs one command line (without the program's name): results go to `out`,
// messages and progress to `err`. Needs a QCoreApplication.
int runCli(const QStringList& arguments, QTextStream& out, QTextStream& err);

}  // namespace tarvex::cli
