#pragma once

#include <QTextStream>

#include "cli/CliCommand.h"

namespace tarvex::cli {

// Runs a split or join command (files relative to the current folder): measures the
// sources, plans the job, runs it on the job executor with progress on `err`
// (unless quiet) and removes a cut-off output on Ctrl-C. Returns the exit
// status: 0 done, 1 a file failed, 130 stopped by Ctrl-C.
int runJob(CliCommand command, QTextStream& err);

}  // namespace tarvex::cli
