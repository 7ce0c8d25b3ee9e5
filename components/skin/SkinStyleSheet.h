#pragma once

#include <QString>

class QFont;
class QWidget;

namespace tarvex::skin {

struct SkinDocument;

// A Qt style sheet that dresses the program's own widgets (lists with their
// header, drop-down, instructions text, scroll bars) in the skin's "widget-*"
// colours; a colour the skin leaves out takes a dark neutral default.
QString makeWidgetStyleSheet(const SkinDocument& document);

// A style sheet on the main window stops fonts from passing down to a
// dialog's controls, so every control of `dialog` that has no font of its own
// is given `font`.
void giveControlsDialogFont(QWidget& dialog, const QFont& font);

}  // namespace tarvex::skin
