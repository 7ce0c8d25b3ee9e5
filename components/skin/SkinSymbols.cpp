#include "components/skin/SkinSymbols.h"

#include <QPainterPath>
#include <functional>
#include <map>

namespace tarvex::skin {

namespace {

using SymbolPainter = std::function<void(QPainter&, const QRectF&, const QColor&)>;

QPainterPath triangle(const QRectF& box, bool pointsRight) {
  QPainterPath path;
  if (pointsRight) {
    path.moveTo(box.left(), box.top());
    path.lineTo(box.right(), box.center().y());
    path.lineTo(box.left(), box.bottom());
  } else {
    path.moveTo(box.right(), box.top());
    path.lineTo(box.left(), box.center().y());
    path.lineTo(box.right(), box.bottom());
  }
  path.closeSubpath();
  return path;
}

QPen strokePen(const QColor& color, qreal width) {
  QPen pen(color, width);
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  return pen;
}

void paintPlay(QPainter& p, const QRectF& b, const QColor& c) {
  const qreal w = b.width() * 0.82;
  p.fillPath(triangle(QRectF(b.center().x() - w * 0.42, b.top(), w, b.height()), true), c);
}

void paintStop(QPainter& p, const QRectF& b, const QColor& c) {
  const QRectF square =
      b.adjusted(b.width() * 0.1, b.height() * 0.1, -b.width() * 0.1, -b.height() * 0.1);
  QPainterPath path;
  path.addRoundedRect(square, b.width() * 0.08, b.width() * 0.08);
  p.fillPath(path, c);
}

void paintDoubleTriangle(QPainter& p, const QRectF& b, const QColor& c, bool right) {
  const qreal half = b.width() / 2;
  const QRectF height(b.left(), b.top() + b.height() * 0.12, half, b.height() * 0.76);
  p.fillPath(triangle(height, right), c);
  p.fillPath(triangle(height.translated(half, 0), right), c);
}

void paintPlus(QPainter& p, const QRectF& b, const QColor& c) {
  p.setPen(strokePen(c, b.width() * 0.18));
  const QPointF m = b.center();
  const qreal r = b.width() * 0.38;
  p.drawLine(QPointF(m.x() - r, m.y()), QPointF(m.x() + r, m.y()));
  p.drawLine(QPointF(m.x(), m.y() - r), QPointF(m.x(), m.y() + r));
}

void paintMinus(QPainter& p, const QRectF& b, const QColor& c) {
  p.setPen(strokePen(c, b.width() * 0.18));
  const QPointF m = b.center();
  const qreal r = b.width() * 0.38;
  p.drawLine(QPointF(m.x() - r, m.y()), QPointF(m.x() + r, m.y()));
}

void paintCross(QPainter& p, const QRectF& b, const QColor& c) {
  p.setPen(strokePen(c, b.width() * 0.17));
  const QPointF m = b.center();
  const qreal r = b.width() * 0.3;
  p.drawLine(QPointF(m.x() - r, m.y() - r), QPointF(m.x() + r, m.y() + r));
  p.drawLine(QPointF(m.x() - r, m.y() + r), QPointF(m.x() + r, m.y() - r));
}

void paintChevron(QPainter& p, const QRectF& b, const QColor& c, bool up) {
  p.setPen(strokePen(c, b.width() * 0.17));
  const QPointF m = b.center();
  const qreal r = b.width() * 0.34;
  const qreal h = b.height() * 0.2 * (up ? 1 : -1);
  QPainterPath path;
  path.moveTo(m.x() - r, m.y() + h);
  path.lineTo(m.x(), m.y() - h);
  path.lineTo(m.x() + r, m.y() + h);
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
}

// A bracket with a small triangle: "[>" marks a begin, "<]" an end.
void paintMark(QPainter& p, const QRectF& b, const QColor& c, bool begin) {
  const qreal stroke = b.width() * 0.14;
  p.setPen(strokePen(c, stroke));
  p.setBrush(Qt::NoBrush);
  const qreal x = begin ? b.left() + b.width() * 0.22 : b.right() - b.width() * 0.22;
  const qreal arm = b.width() * 0.14 * (begin ? 1 : -1);
  QPainterPath bracket;
  bracket.moveTo(x + arm, b.top() + b.height() * 0.1);
  bracket.lineTo(x, b.top() + b.height() * 0.1);
  bracket.lineTo(x, b.bottom() - b.height() * 0.1);
  bracket.lineTo(x + arm, b.bottom() - b.height() * 0.1);
  p.drawPath(bracket);
  const qreal tw = b.width() * 0.38;
  const qreal tx = begin ? x + b.width() * 0.18 : x - b.width() * 0.18 - tw;
  p.fillPath(triangle(QRectF(tx, b.top() + b.height() * 0.28, tw, b.height() * 0.44), begin), c);
}

void paintCheck(QPainter& p, const QRectF& b, const QColor& c) {
  p.setPen(strokePen(c, b.width() * 0.17));
  p.setBrush(Qt::NoBrush);
  QPainterPath path;
  path.moveTo(b.left() + b.width() * 0.15, b.top() + b.height() * 0.55);
  path.lineTo(b.left() + b.width() * 0.42, b.top() + b.height() * 0.8);
  path.lineTo(b.left() + b.width() * 0.88, b.top() + b.height() * 0.22);
  p.drawPath(path);
}

void paintHelp(QPainter& p, const QRectF& b, const QColor& c) {
  p.setPen(strokePen(c, b.width() * 0.1));
  p.setBrush(Qt::NoBrush);
  const QRectF circle =
      b.adjusted(b.width() * 0.06, b.height() * 0.06, -b.width() * 0.06, -b.height() * 0.06);
  p.drawEllipse(circle);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(qMax(4, qRound(b.height() * 0.68)));
  font.setBold(true);
  p.setFont(font);
  p.drawText(b, Qt::AlignCenter, QStringLiteral("?"));
}

// Two pieces with a cut between them.
void paintSplit(QPainter& p, const QRectF& b, const QColor& c) {
  const qreal h = b.height() * 0.36;
  const qreal y = b.center().y() - h / 2;
  const qreal piece = b.width() * 0.36;
  QPainterPath path;
  path.addRoundedRect(QRectF(b.left(), y, piece, h), h * 0.2, h * 0.2);
  path.addRoundedRect(QRectF(b.right() - piece, y, piece, h), h * 0.2, h * 0.2);
  p.fillPath(path, c);
  p.setPen(strokePen(c, b.width() * 0.07));
  const qreal mx = b.center().x();
  p.drawLine(QPointF(mx - b.width() * 0.07, b.top()), QPointF(mx + b.width() * 0.07, b.bottom()));
}

// Two strands merging into one, with an arrow head.
void paintJoin(QPainter& p, const QRectF& b, const QColor& c) {
  p.setPen(strokePen(c, b.width() * 0.11));
  p.setBrush(Qt::NoBrush);
  const qreal mx = b.left() + b.width() * 0.5;
  const qreal my = b.center().y();
  QPainterPath strands;
  strands.moveTo(b.left() + b.width() * 0.06, b.top() + b.height() * 0.16);
  strands.cubicTo(b.left() + b.width() * 0.32, b.top() + b.height() * 0.16, mx - b.width() * 0.1,
                  my, mx, my);
  strands.moveTo(b.left() + b.width() * 0.06, b.bottom() - b.height() * 0.16);
  strands.cubicTo(b.left() + b.width() * 0.32, b.bottom() - b.height() * 0.16, mx - b.width() * 0.1,
                  my, mx, my);
  strands.lineTo(b.right() - b.width() * 0.2, my);
  p.drawPath(strands);
  p.fillPath(triangle(QRectF(b.right() - b.width() * 0.26, my - b.height() * 0.24, b.width() * 0.26,
                             b.height() * 0.48),
                      true),
             c);
}

// The program's mark: a small waveform of rounded bars.
void paintLogo(QPainter& p, const QRectF& b, const QColor& c) {
  static const qreal heights[] = {0.35, 0.7, 1.0, 0.55, 0.85, 0.4};
  const int count = 6;
  const qreal slot = b.width() / count;
  const qreal barWidth = slot * 0.62;
  QPainterPath path;
  for (int i = 0; i < count; ++i) {
    const qreal h = b.height() * heights[i];
    path.addRoundedRect(
        QRectF(b.left() + i * slot + (slot - barWidth) / 2, b.center().y() - h / 2, barWidth, h),
        barWidth / 2, barWidth / 2);
  }
  p.fillPath(path, c);
}

const std::map<QString, SymbolPainter>& symbolTable() {
  static const std::map<QString, SymbolPainter> table = {
      {QStringLiteral("play"), paintPlay},
      {QStringLiteral("stop"), paintStop},
      {QStringLiteral("back"),
       [](QPainter& p, const QRectF& b, const QColor& c) { paintDoubleTriangle(p, b, c, false); }},
      {QStringLiteral("forward"),
       [](QPainter& p, const QRectF& b, const QColor& c) { paintDoubleTriangle(p, b, c, true); }},
      {QStringLiteral("plus"), paintPlus},
      {QStringLiteral("minus"), paintMinus},
      {QStringLiteral("cross"), paintCross},
      {QStringLiteral("up"),
       [](QPainter& p, const QRectF& b, const QColor& c) { paintChevron(p, b, c, true); }},
      {QStringLiteral("down"),
       [](QPainter& p, const QRectF& b, const QColor& c) { paintChevron(p, b, c, false); }},
      {QStringLiteral("begin"),
       [](QPainter& p, const QRectF& b, const QColor& c) { paintMark(p, b, c, true); }},
      {QStringLiteral("end"),
       [](QPainter& p, const QRectF& b, const QColor& c) { paintMark(p, b, c, false); }},
      {QStringLiteral("check"), paintCheck},
      {QStringLiteral("help"), paintHelp},
      {QStringLiteral("split"), paintSplit},
      {QStringLiteral("join"), paintJoin},
      {QStringLiteral("logo"), paintLogo},
  };
  return table;
}

}  // namespace

QStringList knownSkinSymbols() {
  QStringList names;
  for (const auto& entry : symbolTable()) names << entry.first;
  return names;
}

bool isKnownSkinSymbol(const QString& name) {
  return symbolTable().count(name) != 0;
}

void paintSkinSymbol(QPainter& painter, const QString& name, const QRectF& box,
                     const QColor& color) {
  auto found = symbolTable().find(name);
  if (found == symbolTable().end()) return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  found->second(painter, box, color);
  painter.restore();
}

}  // namespace tarvex::skin
