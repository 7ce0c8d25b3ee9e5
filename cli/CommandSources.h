#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "cli/CliCommand.h"
#include "processing/JobPlanning.h"
#include "sources/SourceRecord.h"

namespace tarvex::cli {

// The window's settings for a split or join command: --every and --pieces
// are the functions by time and by count, --ranges one set of ranges shared
// by every source, --cue and --silences each source's own marks.
// `outputFolder` ends with the native separator.
JobSettings jobSettingsOf(const CliCommand& command, const QString& outputFolder);

// The sources of a command, probed as the window probes an added file and
// marked as the command asks: --ranges on the first (the shared ranges), a
// CUE sheet or the sounds between pauses on each. A file that cannot be read
// or marked is left out, its reason added to `failures`.
std::vector<SourceRecord> commandSources(const CliCommand& command, QStringList& failures);

}  // namespace tarvex::cli
