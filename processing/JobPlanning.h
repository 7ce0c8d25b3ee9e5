#pragma once

#include <QString>
#include <vector>

#include "config/SplitFunction.h"
#include "processing/EncoderProfile.h"
#include "processing/JobPlan.h"
#include "sources/SourceRecord.h"
#include "sources/SplitPlanning.h"

namespace tarvex {

// The settings a job uses, taken when Split or Join is pressed. The window
// and the command line both plan through these and the source records.
struct JobSettings {
  SplitFunction function = SplitFunction::Custom;
  QString outputDir;  // ends with the native separator
  // Length of a piece by time: whole seconds in the window, any fraction on
  // the command line. A piece starts at sample round(k × pieceSeconds × rate).
  double pieceSeconds = 60;
  int pieceCount = 6;
  bool fadeIn = false;
  bool fadeOut = false;
  int fadeInSeconds = 5;
  int fadeOutSeconds = 5;
  // How split pieces are named: a template (see NameTemplate.h) for every
  // piece; empty, the caption's stem with "_N". namePiecesByTitle: pieces
  // of ranges with a title (a CUE track, a chapter, a label) are named
  // "{n:02} {title}" when there is no template.
  QString nameTemplate;
  bool namePiecesByTitle = false;
};

// Every piece of every source in list order, with exact frames, output names
// (each unique within the plan and not taken on disk when planned), tags,
// fades and the rows each source's list shows. A range whose exact first
// frame is at or past the end of a source under Unification gives no piece.
// Throws Error, writing nothing, when the job would write more than
// kMostPiecesPerJob pieces.
SplitPlan planSplit(const std::vector<SourceRecord>& sources, const JobSettings& settings,
                    const EncoderProfile& profile);

// The parts of every source in list order, written into `outputPath` in the
// first source's rate and channel count.
JoinPlan planJoin(const std::vector<SourceRecord>& sources, const JobSettings& settings,
                  const EncoderProfile& profile, const QString& outputPath);

}  // namespace tarvex
