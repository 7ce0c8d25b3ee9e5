#pragma once

#include <QPixmap>

namespace tarvex {

// The program's 36 x 36 picture: a waveform cut in two, in the skin's colours.
QPixmap aboutPicture();

}  // namespace tarvex
