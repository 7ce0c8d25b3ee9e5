#pragma once

#include <QString>

namespace tarvex::skin {

// The text of the default skin compiled into the program (the same text that
// ships beside it as its skin file).
QString builtInSkinText();

}  // namespace tarvex::skin
