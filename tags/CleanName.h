#pragma once

#include <QString>

namespace tarvex {

// Removes every character that may not appear in a file name on Windows:
// * ? | : " / \ < >
QString CleanName(const QString& text);

}  // namespace tarvex
