#pragma once

#include <QString>

namespace tarvex::skin {

struct SkinDocument;

// A Qt style sheet that dresses the program's own widgets (lists with their
// header, drop-down, instructions text, scroll bars) in the skin's "widget-*"
// colours; a colour the skin leaves out takes a dark neutral default.
QString makeWidgetStyleSheet(const SkinDocument& document);

}  // namespace tarvex::skin
