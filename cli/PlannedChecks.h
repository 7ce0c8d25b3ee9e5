#pragma once

#include <QTextStream>
#include <vector>

#include "processing/JobPlan.h"
#include "processing/verify/OutputCheck.h"

namespace tarvex::cli {

// What a split's piece and a join's output are judged by: the stretches
// of the sources the plan puts in them and the fades over them, with the
// file actually written (`path`, which may carry another name than planned).
verify::PlannedOutput plannedPiece(const PiecePlan& piece, const QString& path);
verify::PlannedOutput plannedJoin(const JoinPlan& plan, const QString& path);

// Judges each of `outputs` and prints what was found on `out`, as text or
// (`json`) one JSON document; a file that cannot be read is named on `err`.
// Returns 0 when every output holds what its plan says, else 1.
int printChecks(const std::vector<verify::PlannedOutput>& outputs, bool json, QTextStream& out,
                QTextStream& err);

}  // namespace tarvex::cli
