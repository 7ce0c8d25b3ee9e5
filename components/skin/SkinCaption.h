#pragma once

#include <QString>

namespace tarvex::skin {

class SkinObject;

// What a skin object is called for a user who cannot see it (screen readers,
// the keyboard help): its label, else the word for its symbol ("Play" for a
// bare play symbol), else its text, else its object name.
QString skinObjectCaption(const SkinObject& object);

}  // namespace tarvex::skin
