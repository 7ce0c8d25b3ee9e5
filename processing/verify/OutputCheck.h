#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

namespace tarvex::verify {

// One stretch of a source that an output is planned to hold, in sample
// frames of the source as a gapless decoder counts them.
struct PlannedPart {
  QString sourcePath;
  int64_t firstSample = 0;
  int64_t endSample = 0;  // one past the last
};

// One output file and what it should hold: its parts one after another (one
// for a split piece, one per part for a join).
struct PlannedOutput {
  QString outputPath;
  std::vector<PlannedPart> parts;
  // Fades over the output's first and last seconds (0 for none): the samples
  // under them are neither aligned nor compared.
  int fadeInSeconds = 0;
  int fadeOutSeconds = 0;
};

// What was found for one part of an output. Offsets are in source samples:
// the output holds source sample `firstSample + startOffset` where the plan
// puts `firstSample` (negative: the part begins early, with audio from before
// its planned start; positive: late). Likewise `endOffset` at the part's end.
struct PartCheck {
  PlannedPart plan;
  int64_t outputStart = 0;  // where the plan puts the part in the output
  // Empty when the part was compared; else why not (a rate or channel count
  // the output does not share).
  QString notCompared;
  // Null when the audio there is silent (nothing to align) or matches at no
  // offset within the search.
  std::optional<int64_t> startOffset;
  std::optional<int64_t> endOffset;
  bool startSilent = false;
  bool endSilent = false;
  // The largest difference between the output's and the source's decode
  // (full scale 1.0) over the samples compared, those outside re-encoded
  // frames and the granule beside them; 0 samples compared: none measured.
  double largestDifference = 0;
  int64_t comparedSamples = 0;
  bool underFade = false;  // the whole part lies under a fade: not aligned
};

// Where one part ends and the next begins in a join.
struct SeamCheck {
  int64_t outputPosition = 0;  // planned
  // Samples between the end of the earlier part and the start of the later
  // one as found: positive a gap, negative an overlap. Null when either side
  // could not be aligned.
  std::optional<int64_t> gap;
  // The overlap a join copied frame by frame crossfades here (see
  // CopiedJoinLayout.h): a gap of minus this is what the plan asks for.
  int64_t plannedOverlap = 0;
  // The largest sample-to-sample step in the output within a granule of the
  // seam, and the largest the planned audio itself has within 50 ms of it.
  double seamStep = 0;
  double plannedStep = 0;
  bool click = false;
};

// Everything found for one output. `problems` lists, in words, each check
// that failed; none means the output holds what the plan says.
struct OutputCheck {
  QString outputPath;
  int sampleRate = 0;
  int channels = 0;
  int64_t plannedLength = 0;  // sample frames
  int64_t decodedLength = 0;
  // Samples at the output's start and end left out as lying under a fade
  // (with a margin for the fade's rounding to blocks).
  int64_t fadedStart = 0;
  int64_t fadedEnd = 0;
  // Frames whose main data matches no source frame's; null for outputs that
  // are not MP3 (not applicable).
  std::optional<int> reencodedFrames;
  int outputFrames = 0;  // MP3 audio frames in the output
  // Whether the difference is held to `tolerance` (exact formats: MP3 frames
  // copied, PCM) or only reported (other lossy formats).
  bool differenceJudged = false;
  double tolerance = 0;
  std::vector<PartCheck> parts;
  std::vector<SeamCheck> seams;
  QStringList problems;
  bool passed() const { return problems.isEmpty(); }
};

}  // namespace tarvex::verify
