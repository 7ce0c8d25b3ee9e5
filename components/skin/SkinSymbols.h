#pragma once

#include <QColor>
#include <QPainter>
#include <QRectF>
#include <QStringList>

namespace tarvex::skin {

// The vector symbols a skin can put on buttons and images.
QStringList knownSkinSymbols();
bool isKnownSkinSymbol(const QString& name);

// Draws the symbol `name` centred in `box` (a square works best).
void paintSkinSymbol(QPainter& painter, const QString& name, const QRectF& box,
                     const QColor& color);

}  // namespace tarvex::skin
