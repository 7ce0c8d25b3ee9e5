#pragma once

#include <QString>
#include <QStringList>

#include "cli/CliArguments.h"
#include "cli/UsageError.h"

namespace tarvex::cli {

// The message of the usage error `arguments` give, or "" when they parse.
inline QString usageErrorOf(const QStringList& arguments) {
  try {
    parseCliArguments(arguments);
  } catch (const UsageError& error) {
    return error.message();
  }
  return {};
}

}  // namespace tarvex::cli
