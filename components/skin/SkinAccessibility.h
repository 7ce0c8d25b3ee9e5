#pragma once

#include <QString>

class QAccessibleInterface;
class QObject;

namespace tarvex::skin {

// Gives a SkinWidget its accessible interface: one child per button, slider,
// text display, progress frame and waveform, named by its caption, with the
// role a user expects (a button presses, a slider has a value). Installed by
// every SkinWidget; Qt keeps one copy of a factory.
QAccessibleInterface* skinAccessibleFactory(const QString& className, QObject* object);

}  // namespace tarvex::skin
