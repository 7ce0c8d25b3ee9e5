#pragma once

#include <QString>
#include <vector>

#include "config/SplitFunction.h"
#include "processing/EncoderProfile.h"
#include "processing/JobPlan.h"
#include "sources/SourceRecord.h"
#include "sources/SplitPlanning.h"

namespace tarvex {

// The settings a job uses, taken when Split or Join is pressed.
struct JobSettings {
  SplitFunction function = SplitFunction::Custom;
  QString outputDir;  // ends with the native separator
  int pieceSeconds = 60;
  int pieceCount = 6;
  bool fadeIn = false;
  bool fadeOut = false;
  int fadeInSeconds = 5;
  int fadeOutSeconds = 5;
};

// The rows a source's segment list shows while a job works on it, one per
// piece the job plans for that source, in the plan's row numbering: pieces
// by time or count; the ranges that are cut under Custom and Unification (a
// lone pending range shows as confirmed and is cut; otherwise the pending
// last range is left out; under Unification the first source's ranges).
// `join` under time or count: one row over the whole source.
std::vector<Segment> jobRowsFor(const std::vector<SourceRecord>& sources, int row,
                                const JobSettings& settings, bool join);

// Every piece of every source in list order, with frames, output names (each
// unique within the plan and not taken on disk when planned), tags and fades.
SplitPlan planSplit(const std::vector<SourceRecord>& sources, const JobSettings& settings,
                    const EncoderProfile& profile);

// The parts of every source in list order, written into `outputPath` in the
// first source's rate and channel count.
JoinPlan planJoin(const std::vector<SourceRecord>& sources, const JobSettings& settings,
                  const EncoderProfile& profile, const QString& outputPath);

}  // namespace tarvex
