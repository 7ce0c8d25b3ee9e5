#pragma once

#include <QString>

namespace tarvex::cli {

// The help of one sub-command ("split", "join", "probe", "tags"), or the
// overview for an empty topic. An unknown topic gives the overview.
QString helpText(const QString& topic);

// "tarvex-cli 1.70".
QString versionText();

}  // namespace tarvex::cli
