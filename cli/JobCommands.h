#pragma once

#include <QTextStream>

#include "cli/CliCommand.h"

namespace tarvex::cli {

// Runs a split or join command (files relative to the current folder): probes
// and marks the sources, plans the job as the window does, and either prints
// the plan on `out` (--dry-run, writing nothing) or makes the output folder
// where missing and runs the job on the executor with progress on `err`
// (unless quiet), removing a cut-off output on Ctrl-C; with --verify it then
// judges each output written whole as verify does and prints the findings on
// `out`. Returns the exit status: 0 done, 1 a file failed or an output does
// not hold what the plan says, 130 stopped by Ctrl-C.
int runJob(CliCommand command, QTextStream& out, QTextStream& err);

}  // namespace tarvex::cli
