#pragma once

#include <QString>
#include <vector>

#include "sources/listrecord.h"

namespace tarvex {

// One planned piece: whole seconds and the status the segment list shows.
struct Segment {
  int begin = 0;
  int end = 0;
  QString status;
};

inline const QString kStatusUncertain = QStringLiteral("Uncertain");
inline const QString kStatusConfirmed = QStringLiteral("OK");
inline const QString kStatusJustConfirmed = QStringLiteral("Ok");
inline const QString kStatusUnconvert = QStringLiteral("Unconvert");

// The marked ranges of a source: every range "OK", the last (pending) one
// "Uncertain".
std::vector<Segment> planMarkedRanges(const listrecord& source);

// Pieces of `pieceSeconds` seconds covering a source of `lengthSeconds`. The
// last piece is shorter when the length is not a multiple; no empty piece is
// planned after a source that divides evenly, but a source of length 0 still
// has its one (empty) piece. Values below 1 count as 1.
std::vector<Segment> planByTimePieces(int lengthSeconds, int pieceSeconds);

// `pieceCount` pieces covering the whole source: piece k runs from
// MulDiv(k, L, N) to MulDiv(k + 1, L, N), so lengths differ by at most one
// second and no tail is lost. Empty pieces (more pieces than seconds) are not
// planned; a source of length 0 keeps one empty piece. Values below 1 count as 1.
std::vector<Segment> planByCountPieces(int lengthSeconds, int pieceCount);

// The ranges of `shared` (the first source's marks) that a source of
// `lengthSeconds` contributes under Unification, in list order: the pending
// last range counts only when it is the sole range, a range that begins past
// the source's end is left out, and each end is lowered to the source's length.
struct UnifiedRange {
  int begin = 0;
  int end = 0;
};
std::vector<UnifiedRange> unifiedRangesFor(const listrecord& shared, int lengthSeconds);

// The ranges of a source that a Custom job cuts: range 0 alone when it is the
// only one, else every range but the pending last.
std::vector<UnifiedRange> customRangesFor(const listrecord& source);

// The source's exact length in milliseconds: lengthMs, or lengthSeconds when
// that is not known.
int64_t sourceLengthMs(const listrecord& source);

// What a range of whole seconds of `source` cuts, in milliseconds. The cut
// follows the frames: an end at or past the source's whole-second length is
// the source's own end, so the fraction of a second after it stays in the
// last piece. An end before the begin gives an empty span.
struct PieceSpan {
  int64_t beginMs = 0;
  int64_t endMs = 0;
  int64_t lengthMs() const { return endMs - beginMs; }
};
PieceSpan pieceSpan(int begin, int end, const listrecord& source);

// The texts of a segment row: "begin - end" and the length, both as the
// piece will hold them (ends and lengths rounded as FormatMilliseconds).
struct SegmentTexts {
  QString range;
  QString length;
};
SegmentTexts segmentTexts(int begin, int end, const listrecord& source);

// The total planned time shown under the lists, for the function choice: the
// exact time of every range cut (see pieceSpan), rounded once to whole
// seconds as FormatMilliseconds rounds.
int totalPlannedSeconds(int functionChoice, const std::vector<listrecord>& sources);

}  // namespace tarvex
