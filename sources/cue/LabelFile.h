#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

#include "sources/SourceRecord.h"

namespace tarvex {

// One line of a label file: a stretch from `start` to `end` seconds (any
// fraction) and its label.
struct LabelRange {
  double start = 0;
  double end = 0;
  QString label;
};

// Whether "Load marks" and "Save marks" treat `path` as a label file (".txt")
// rather than a CUE sheet.
bool isLabelFile(const QString& path);

// Label files are UTF-8 text, one label a line: start, end and label
// separated by tabs, times in seconds with a '.' fraction; the label may be
// missing. Lines starting with '\' (the frequency lines some editors add
// under a label) and blank lines are skipped. Throws CueSheetError, naming
// the file and line, for a line whose times are not numbers, negative, or
// end before they start, for a file larger than kMaxCueSheetBytes, and for a
// file without a label.
std::vector<LabelRange> parseLabels(const QByteArray& bytes, const QString& path);
std::vector<LabelRange> readLabelFile(const QString& path);

// The lines as a label file holds them, times with six decimals (a
// microsecond: every sample at rates up to 192 kHz reads back as itself).
QByteArray formatLabels(const std::vector<LabelRange>& labels);

// Writes through a temporary file renamed into place; an existing file is
// kept and CueSheetError thrown unless `replaceExisting`.
void writeLabelFile(const QString& path, const std::vector<LabelRange>& labels,
                    bool replaceExisting);

// Marks a source from a label file: one confirmed range per label with a
// length, cut at round(t × rate) of its times and titled by its label, then a
// pending range over the whole source. Labels starting at or past the end of
// the audio, and labels without length (points), mark nothing. Throws
// CueSheetError when none is left; the record is then unchanged.
void markFromLabelFile(SourceRecord& record, const QString& labelPath);

// The labels of the ranges a Custom job cuts from the record, at their
// exact edges, titled by their titles.
std::vector<LabelRange> labelsOfMarks(const SourceRecord& record);

}  // namespace tarvex
