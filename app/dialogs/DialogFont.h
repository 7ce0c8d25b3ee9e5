#pragma once

#include <QFont>

namespace tarvex {

// The dialogs' 11-pixel font: the classic dialog face where the system has
// it, otherwise a face of the same narrow metrics, so that captions fit the
// fixed dialog sizes.
QFont DialogFont(const QFont& base, int pixelSize = 11);

}  // namespace tarvex
