#pragma once

#include <QString>
#include <cstdint>
#include <vector>

#include "config/SplitFunction.h"
#include "sources/SampleSpan.h"
#include "sources/Segment.h"
#include "sources/SourceRecord.h"

namespace tarvex {

// The most pieces one split may plan. A job past it is refused before
// anything is written: more files than this in one folder is no use to anyone
// (every second of a 2 h 46 min recording is 10 000 pieces; a CD has at most
// 99 tracks), and a source whose header claims an absurd length (a damaged
// frame count can claim thousands of hours) would otherwise tie the job up
// planning and naming millions of empty pieces. The row planners below stop
// one past it, so their time and memory stay bounded as well.
constexpr int kMostPiecesPerJob = 10000;

// The marked ranges of a source as the segment list shows them, each with its
// marking state.
std::vector<Segment> planMarkedRanges(const SourceRecord& source);

// Pieces of `pieceSeconds` seconds covering a source of `lengthSeconds`. The
// last piece is shorter when the length is not a multiple; no empty piece is
// planned after a source that divides evenly, but a source of length 0 still
// has its one (empty) piece. Values below 1 count as 1. At most
// kMostPiecesPerJob + 1 rows are planned.
std::vector<Segment> planByTimePieces(int lengthSeconds, int pieceSeconds);

// `pieceCount` pieces covering the whole source: piece k runs from
// MulDiv(k, L, N) to MulDiv(k + 1, L, N), so lengths differ by at most one
// second and no tail is lost. Empty pieces (more pieces than seconds) are not
// planned; a source of length 0 keeps one empty piece. Values below 1 count as 1.
// At most kMostPiecesPerJob + 1 rows are planned.
std::vector<Segment> planByCountPieces(int lengthSeconds, int pieceCount);

// The ranges of `shared` (the first source's marks) that a source of
// `lengthSeconds` contributes under Unification, in list order: the pending
// last range counts only when it is the sole range, a range that begins past
// the source's end is left out, and each end is lowered to the source's length.
// Each range carries its row in the first source's list and its marking state.
std::vector<Segment> unifiedRangesFor(const SourceRecord& shared, int lengthSeconds);

// The ranges of a source that a Custom job cuts: range 0 alone when it is the
// only one, else every range but the pending last.
std::vector<Segment> customRangesFor(const SourceRecord& source);

// The source's exact length in milliseconds: durationMs, or lengthSeconds when
// that is not known.
int64_t sourceLengthMs(const SourceRecord& source);

// The texts of a segment row: "begin - end" and the length, both as the
// piece of those whole seconds will hold them (secondsSpan: an end at or past
// the source's whole-second length is the source's own end, so the fraction
// of a second after it shows in the last row), in milliseconds rounded as
// FormatMilliseconds rounds.
struct SegmentTexts {
  QString range;
  QString length;
};
SegmentTexts segmentTexts(int begin, int end, const SourceRecord& source);

// The ranges a Split or Join cuts from source `row` under a marking function:
// its own under Custom, the first source's clamped to it under Unification.
std::vector<Segment> cutRangesFor(SplitFunction function, const std::vector<SourceRecord>& sources,
                                  int row);

// The total planned time shown under the lists, for the function: the
// exact time of every range cut (see secondsSpan), rounded once to whole
// seconds as FormatMilliseconds rounds.
int totalPlannedSeconds(SplitFunction function, const std::vector<SourceRecord>& sources);

}  // namespace tarvex
