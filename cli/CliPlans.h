#pragma once

#include <QString>
#include <cstdint>
#include <vector>

#include "cli/CliCommand.h"
#include "processing/JobPlan.h"
#include "tags/AudioFileinfo.h"

namespace tarvex::cli {

// What the planner needs of one source, measured by the reader when the
// command starts.
struct SourceFacts {
  QString path;  // absolute
  int64_t frames = 0;
  int64_t durationMs = 0;
  int sampleRate = 0;
  int channels = 0;
  QString caption;     // the title from the tags, else the file name
  AudioFileinfo tags;  // carried into the pieces
};

// Opens the source with the real reader and reads its tags as the window
// does when a file is added. Throws AudioError or TagError.
SourceFacts measureSource(const QString& path);

// The pieces of every source, source by source, with the window's rules:
// whole seconds turned into frames by MulDiv(seconds × 1000, frames,
// duration), an end at or past the whole-second length running to the last
// frame, "--every" and "--pieces" as the window plans them, ranges that
// that begin at or past a source's end left out (such a source may get no
// piece) and ends lowered to it. Piece names
// count on from "_1" per caption past every file that exists and every name
// already planned. `outputFolder` ends with the native separator.
SplitPlan planSplit(const CliCommand& command, const std::vector<SourceFacts>& sources,
                    const EncoderProfile& profile, const QString& outputFolder);

// Every source whole, in order, into `outputPath`, at the first source's rate
// and channel count.
JoinPlan planJoin(const CliCommand& command, const std::vector<SourceFacts>& sources,
                  const EncoderProfile& profile, const QString& outputPath);

}  // namespace tarvex::cli
