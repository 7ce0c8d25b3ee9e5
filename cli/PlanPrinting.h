#pragma once

#include <QJsonObject>
#include <QString>

#include "processing/JobPlan.h"

namespace tarvex::cli {

// What --dry-run prints: each output's name and the exact source frames it
// is cut from (first, and one past the last), as lines for people or as JSON.
QString splitPlanText(const SplitPlan& plan);
QJsonObject splitPlanJson(const SplitPlan& plan);
QString joinPlanText(const JoinPlan& plan);
QJsonObject joinPlanJson(const JoinPlan& plan);

}  // namespace tarvex::cli
