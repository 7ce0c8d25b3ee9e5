#pragma once

#include <QRect>

namespace tarvex::skin {

class SkinObject;

// Where a slider's thumb stands for the slider's current position.
QRect sliderThumbRect(const SkinObject& slider);

// The position that puts the thumb's left edge at `thumbLeft` (clamped).
int sliderPositionForThumbLeft(const SkinObject& slider, int thumbLeft);

}  // namespace tarvex::skin
