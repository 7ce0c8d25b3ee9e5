#pragma once

#include <QStringList>

#include "cli/CliCommand.h"

namespace tarvex::cli {

// Reads the command line (`arguments` without the program's name). Options
// take their value as the next argument or after "="; "--" ends the options.
// "--help" anywhere asks for the help of the sub-command given. Throws
// UsageError with a message naming what was not understood.
CliCommand parseCliArguments(const QStringList& arguments);

}  // namespace tarvex::cli
