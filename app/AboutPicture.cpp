#include "app/AboutPicture.h"

#include <QPainter>
#include <QPainterPath>
#include <array>

namespace tarvex {

QPixmap aboutPicture() {
  constexpr int kSize = 36;
  QPixmap picture(kSize, kSize);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);

  QPainterPath tile;
  tile.addRoundedRect(QRectF(0.5, 0.5, kSize - 1, kSize - 1), 7, 7);
  QLinearGradient face(0, 0, 0, kSize);
  face.setColorAt(0, QColor(0x3a, 0x41, 0x4b));
  face.setColorAt(1, QColor(0x1d, 0x21, 0x27));
  painter.fillPath(tile, face);
  painter.setPen(QPen(QColor(0x11, 0x14, 0x18), 1));
  painter.drawPath(tile);

  // Bars of a waveform; the middle one is where the cut falls.
  constexpr std::array<int, 7> heights = {8, 16, 22, 12, 20, 14, 6};
  const QColor bar(0xe9, 0xa0, 0x4a);
  const QColor dimBar(0xb0, 0x72, 0x2e);
  for (int i = 0; i < static_cast<int>(heights.size()); ++i) {
    if (i == 3) continue;
    const int x = 6 + i * 4;
    const int h = heights[i];
    painter.fillRect(QRectF(x, (kSize - h) / 2.0, 3, h), i < 3 ? bar : dimBar);
  }
  painter.setPen(QPen(QColor(0xdf, 0xe3, 0xe8), 1.5, Qt::DashLine));
  painter.drawLine(QPointF(kSize / 2.0, 5), QPointF(kSize / 2.0, kSize - 5));
  return picture;
}

}  // namespace tarvex
