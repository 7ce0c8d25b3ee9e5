#pragma once

#include <QJsonObject>
#include <QString>

#include "processing/verify/OutputCheck.h"

namespace tarvex::cli {

// What verify prints for one output: its verdict, its length against the
// plan, its frames encoded anew, each part's offsets and difference, each
// seam's gap and step, and the problems found; as lines for people or JSON.
QString outputCheckText(const verify::OutputCheck& check);
QJsonObject outputCheckJson(const verify::OutputCheck& check);

}  // namespace tarvex::cli
