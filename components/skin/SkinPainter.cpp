#include "components/skin/SkinPainter.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "components/skin/SkinDocument.h"
#include "components/skin/SkinObject.h"
#include "components/skin/SkinSliderGeometry.h"
#include "components/skin/SkinSymbols.h"

namespace tarvex::skin {

namespace {

QBrush fillBrush(const SkinFill& fill, const QRectF& area) {
  if (fill.top == fill.bottom) return QBrush(fill.top);
  QLinearGradient gradient(area.topLeft(), area.bottomLeft());
  gradient.setColorAt(0, fill.top);
  gradient.setColorAt(1, fill.bottom);
  return QBrush(gradient);
}

bool visible(const std::optional<QColor>& color) {
  return color && color->alpha() > 0;
}

// The rounded box most objects are made of: shadow, fill, top highlight, border.
void paintBox(QPainter& painter, const QRectF& area, const SkinStateLook& look,
              const SkinStyle& style) {
  if (area.width() <= 0 || area.height() <= 0) return;
  const qreal radius = std::min({style.radius, area.width() / 2, area.height() / 2});
  const qreal inset = visible(look.border) ? style.borderWidth / 2 : 0;
  const QRectF outline = area.adjusted(inset, inset, -inset, -inset);
  if (visible(look.shadow)) {
    QPainterPath shadow;
    shadow.addRoundedRect(area.translated(0, 1), radius, radius);
    painter.fillPath(shadow, *look.shadow);
  }
  QPainterPath shape;
  shape.addRoundedRect(outline, std::max<qreal>(0, radius - inset),
                       std::max<qreal>(0, radius - inset));
  if (look.fill) painter.fillPath(shape, fillBrush(*look.fill, area));
  if (visible(look.highlight)) {
    painter.save();
    painter.setClipPath(shape);
    const qreal top = outline.top() + std::max<qreal>(inset, 0.5) + 0.5;
    painter.setPen(QPen(*look.highlight, 1));
    painter.drawLine(QPointF(outline.left() + radius / 2, top),
                     QPointF(outline.right() - radius / 2, top));
    painter.restore();
  }
  if (visible(look.border) && style.borderWidth > 0) {
    painter.setPen(QPen(*look.border, style.borderWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(shape);
  }
}

QColor textColorOf(const SkinStateLook& look) {
  return look.textColor.value_or(QColor(Qt::black));
}

// A caption with an optional symbol, laid out side by side or stacked.
void paintCaption(QPainter& painter, const QRectF& area, const SkinObjectSpec& spec,
                  const SkinStateLook& look) {
  const SkinStyle& style = spec.style;
  const QRectF inner = area.adjusted(style.padding, 0, -style.padding, 0);
  const QFontMetricsF metrics(style.font);
  const qreal symbolSize = spec.symbol.isEmpty() ? 0 : style.symbolSize;
  const QColor symbolColor = look.symbolColor.value_or(textColorOf(look));
  painter.setFont(style.font);
  painter.setPen(textColorOf(look));
  if (spec.symbol.isEmpty()) {
    const QString text = metrics.elidedText(spec.label, style.elide, inner.width());
    painter.drawText(inner, static_cast<int>(style.align), text);
    return;
  }
  if (spec.label.isEmpty()) {
    const QRectF box(area.center().x() - symbolSize / 2, area.center().y() - symbolSize / 2,
                     symbolSize, symbolSize);
    paintSkinSymbol(painter, spec.symbol, box, symbolColor);
    return;
  }
  if (style.symbolPlacement == SkinSymbolPlacement::Top) {
    const qreal gap = 3;
    const qreal total = symbolSize + gap + metrics.height();
    const qreal top = area.center().y() - total / 2;
    paintSkinSymbol(painter, spec.symbol,
                    QRectF(area.center().x() - symbolSize / 2, top, symbolSize, symbolSize),
                    symbolColor);
    const QRectF textArea(inner.left(), top + symbolSize + gap, inner.width(), metrics.height());
    painter.drawText(textArea, Qt::AlignHCenter | Qt::AlignVCenter,
                     metrics.elidedText(spec.label, style.elide, inner.width()));
    return;
  }
  const qreal gap = 5;
  const qreal textWidth =
      std::min(metrics.horizontalAdvance(spec.label), inner.width() - symbolSize - gap);
  qreal left = inner.left();
  if (style.align & Qt::AlignHCenter) left = area.center().x() - (symbolSize + gap + textWidth) / 2;
  if (style.align & Qt::AlignRight) left = inner.right() - (symbolSize + gap + textWidth);
  paintSkinSymbol(painter, spec.symbol,
                  QRectF(left, area.center().y() - symbolSize / 2, symbolSize, symbolSize),
                  symbolColor);
  const QRectF textArea(left + symbolSize + gap, area.top(), textWidth + 1, area.height());
  painter.drawText(textArea, Qt::AlignLeft | Qt::AlignVCenter,
                   metrics.elidedText(spec.label, style.elide, textWidth + 1));
}

void paintText(QPainter& painter, const SkinObject& object, const SkinStateLook& look) {
  const SkinStyle& style = object.spec().style;
  const QRectF area(object.rect());
  paintBox(painter, area, look, style);
  const QRectF inner = area.adjusted(style.padding, 0, -style.padding, 0);
  painter.setFont(style.font);
  if (!style.ghostText.isEmpty()) {
    painter.setPen(style.ghostColor);
    painter.drawText(inner, static_cast<int>(style.align), style.ghostText);
  }
  painter.setPen(textColorOf(look));
  const QFontMetricsF metrics(style.font);
  painter.drawText(inner, static_cast<int>(style.align),
                   metrics.elidedText(object.text(), style.elide, inner.width()));
}

void paintSlider(QPainter& painter, const SkinObject& object, SkinDrawState state) {
  const SkinStyle& style = object.spec().style;
  const QRectF track(object.rect());
  const qreal grooveHeight =
      style.groove > 0 ? std::min<qreal>(style.groove, track.height()) : track.height();
  const QRectF groove(track.left(), track.center().y() - grooveHeight / 2, track.width(),
                      grooveHeight);
  const SkinStateLook normal = style.look(SkinDrawState::Normal);
  paintBox(painter, groove, normal, style);
  const QRectF thumb(sliderThumbRect(object));
  const SkinStateLook look = style.look(state);
  if (look.elapsed && thumb.center().x() > groove.left()) {
    SkinStateLook elapsed;
    elapsed.fill = look.elapsed;
    QRectF done = groove.adjusted(1, 1, -1, -1);
    done.setRight(thumb.center().x());
    paintBox(painter, done, elapsed, style);
  }
  SkinStateLook thumbLook;
  thumbLook.fill = look.thumb;
  thumbLook.border = look.thumbBorder;
  thumbLook.highlight = look.highlight;
  thumbLook.shadow = look.shadow;
  if (thumbLook.fill) paintBox(painter, thumb, thumbLook, style);
}

// The peaks stretched to the width, the marked spans shaded over them, the play position.
void paintWaveform(QPainter& painter, const SkinObject& object, const SkinStateLook& look) {
  const SkinStyle& style = object.spec().style;
  const QRectF area(object.rect());
  paintBox(painter, area, look, style);
  const qreal inset = look.border ? style.borderWidth : 0;
  const QRectF inner = area.adjusted(inset, inset, -inset, -inset);
  if (inner.width() <= 0 || inner.height() <= 0) return;
  painter.save();
  painter.setClipRect(inner);
  painter.setRenderHint(QPainter::Antialiasing, false);
  const std::vector<float>& low = object.waveLow();
  const std::vector<float>& high = object.waveHigh();
  const qreal middle = inner.center().y();
  const qreal half = inner.height() / 2;
  painter.setPen(QPen(style.waveColor, 1));
  const int columns = static_cast<int>(inner.width());
  const size_t peakCount = high.size();
  for (int x = 0; x < columns && peakCount > 0; ++x) {
    // The peaks this pixel column covers, widest extent.
    const size_t first = static_cast<size_t>(x) * peakCount / static_cast<size_t>(columns);
    const size_t last =
        std::max(first + 1, static_cast<size_t>(x + 1) * peakCount / static_cast<size_t>(columns));
    float top = low[first];
    float bottom = high[first];
    for (size_t i = first; i < last && i < peakCount; ++i) {
      top = std::min(top, low[i]);
      bottom = std::max(bottom, high[i]);
    }
    const qreal y1 = middle - std::clamp(bottom, -1.0f, 1.0f) * half;
    const qreal y2 = middle - std::clamp(top, -1.0f, 1.0f) * half;
    const qreal xPos = inner.left() + x + 0.5;
    painter.drawLine(QPointF(xPos, y1), QPointF(xPos, std::max(y2, y1 + 1)));
  }
  // The shading and the span edges go over the peaks: on a loud recording the
  // peaks fill the whole height and would hide anything drawn beneath them.
  // The edges are opaque, so ranges that touch (tracks of an album) still
  // show where one ends and the next begins.
  QColor edgeColor = style.waveMarkedColor;
  edgeColor.setAlpha(255);
  for (const SkinWaveSpan& span : object.waveSpans()) {
    const qreal left = inner.left() + std::clamp(span.begin, 0.0, 1.0) * inner.width();
    const qreal right = inner.left() + std::clamp(span.end, 0.0, 1.0) * inner.width();
    if (right <= left) continue;
    painter.fillRect(QRectF(left, inner.top(), right - left, inner.height()),
                     style.waveMarkedColor);
    painter.fillRect(QRectF(std::floor(left), inner.top(), 1, inner.height()), edgeColor);
    painter.fillRect(QRectF(std::ceil(right) - 1, inner.top(), 1, inner.height()), edgeColor);
  }
  if (object.waveCursor() >= 0) {
    const qreal x = inner.left() + std::clamp(object.waveCursor(), 0.0, 1.0) * (inner.width() - 1);
    painter.setPen(QPen(style.waveCursorColor, 1));
    painter.drawLine(QPointF(x + 0.5, inner.top()), QPointF(x + 0.5, inner.bottom()));
  }
  painter.restore();
}

}  // namespace

void paintSkinObject(QPainter& painter, const SkinObject& object, SkinDrawState state) {
  const SkinObjectSpec& spec = object.spec();
  const SkinStateLook look = spec.style.look(state);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  switch (object.kind()) {
    case SkinObjectKind::Button: {
      const QRectF area(object.rect());
      paintBox(painter, area, look, spec.style);
      // The caption sinks by a pixel while the button is held down.
      paintCaption(painter, state == SkinDrawState::Pressed ? area.translated(0, 1) : area, spec,
                   look);
      break;
    }
    case SkinObjectKind::Image:
    case SkinObjectKind::Region: {
      const QRectF area(object.rect());
      paintBox(painter, area, look, spec.style);
      if (!spec.label.isEmpty() || !spec.symbol.isEmpty()) paintCaption(painter, area, spec, look);
      break;
    }
    case SkinObjectKind::Text:
      paintText(painter, object, look);
      break;
    case SkinObjectKind::Frame: {
      // Right edge exclusive: right() == left() paints nothing.
      QRectF area(object.rect());
      area.setWidth(object.rect().right() - object.rect().left());
      paintBox(painter, area, look, spec.style);
      break;
    }
    case SkinObjectKind::Slider:
      paintSlider(painter, object, state);
      break;
    case SkinObjectKind::Waveform:
      paintWaveform(painter, object, look);
      break;
  }
  painter.restore();
}

QRect skinObjectPaintArea(const SkinObject& object) {
  return object.rect().adjusted(-2, -2, 2, 3);
}

}  // namespace tarvex::skin
