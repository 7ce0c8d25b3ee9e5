#pragma once

#include <QTextStream>

#include "cli/CliCommand.h"

namespace tarvex::cli {

// Runs a verify command: plans the split or join as that command would
// (files relative to the current folder), pairs each planned output with the
// file to judge (a split's --outputs in plan order, a join's -o) and prints
// what decoding found for each, as text or JSON. Returns 0 when every output
// holds what the plan says, 1 when a check fails or a file cannot be read, 2
// when the outputs given do not fit the plan.
int runVerify(CliCommand command, QTextStream& out, QTextStream& err);

}  // namespace tarvex::cli
