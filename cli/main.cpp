#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

#include "cli/CliRun.h"

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("tarvex-cli"));
  QTextStream out(stdout);
  QTextStream err(stderr);
  return tarvex::cli::runCli(QCoreApplication::arguments().mid(1), out, err);
}
