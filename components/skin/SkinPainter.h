#pragma once

#include <QPainter>

#include "components/skin/SkinLook.h"

namespace tarvex::skin {

class SkinObject;

// Draws one object of the skin in the given interaction state.
void paintSkinObject(QPainter& painter, const SkinObject& object, SkinDrawState state);

// The area an object may paint (its rect plus shadow and antialiasing).
QRect skinObjectPaintArea(const SkinObject& object);

}  // namespace tarvex::skin
