#include "components/skin/SkinWidget.h"

#include <QAccessible>
#include <QDir>
#include <QFileInfo>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <vector>

#include "components/skin/SkinAccessibility.h"
#include "components/skin/SkinDocument.h"
#include "components/skin/SkinError.h"
#include "components/skin/SkinFileReader.h"
#include "components/skin/SkinPainter.h"
#include "components/skin/SkinSliderGeometry.h"
#include "components/skin/SkinStyleSheet.h"

namespace tarvex::skin {

struct SkinWidget::State {
  std::shared_ptr<const SkinDocument> document;
  const SkinLayout* layout = nullptr;
  std::vector<std::unique_ptr<SkinObject>> objects;  // drawing order

  QString requiredLayout;
  QStringList requiredObjects;

  // Bumped whenever the objects are rebuilt, so that code which emitted a
  // signal notices when a handler replaced the skin under it.
  quint64 generation = 0;

  SkinObject* hovered = nullptr;
  SkinObject* mouseOwner = nullptr;  // the object the held button went down on
  Qt::MouseButton ownerButton = Qt::NoButton;
  bool pressedInside = false;  // a held button is drawn pressed only while the mouse is over it
  bool draggingThumb = false;
  int grabOffset = 0;             // mouse x minus thumb left while dragging
  SkinObject* focused = nullptr;  // the keyboard's object, in the focus chain

  void clearMouse() {
    hovered = nullptr;
    mouseOwner = nullptr;
    ownerButton = Qt::NoButton;
    pressedInside = false;
    draggingThumb = false;
  }
};

namespace {

bool isInteractive(const SkinObject& object) {
  return object.kind() == SkinObjectKind::Button || object.kind() == SkinObjectKind::Slider;
}

QString describeMissing(const SkinDocument& document, const QString& layoutName,
                        const QStringList& names) {
  if (layoutName.isEmpty()) return {};
  const SkinLayout* layout = document.findLayout(layoutName);
  if (!layout) return QStringLiteral("it has no layout \"%1\"").arg(layoutName);
  QStringList missing;
  for (const QString& name : names) {
    if (!layout->find(name)) missing << QLatin1Char('"') + name + QLatin1Char('"');
  }
  if (missing.isEmpty()) return {};
  return QStringLiteral("layout \"%1\" lacks %2 %3")
      .arg(layoutName,
           missing.size() == 1 ? QStringLiteral("the object") : QStringLiteral("the objects"),
           missing.join(QStringLiteral(", ")));
}

}  // namespace

SkinWidget::SkinWidget(QWidget* parent) : QWidget(parent), state_(std::make_unique<State>()) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  // Tab only: a click on a button leaves the keyboard where it was.
  setFocusPolicy(Qt::TabFocus);
  QAccessible::installFactory(&skinAccessibleFactory);
  loadSkinFile(QString());
}

SkinWidget::~SkinWidget() = default;

QString SkinWidget::loadSkinFile(const QString& path) {
  QString message;
  std::shared_ptr<SkinDocument> document;
  if (!path.isEmpty() && QFileInfo::exists(path)) {
    try {
      document = std::make_shared<SkinDocument>(readSkinFile(path));
      const QString missing =
          describeMissing(*document, state_->requiredLayout, state_->requiredObjects);
      if (!missing.isEmpty()) throw SkinError(missing);
    } catch (const SkinError& error) {
      message = QStringLiteral(
                    "The skin file \"%1\" cannot be used: %2. The built-in skin is shown instead.")
                    .arg(QDir::toNativeSeparators(path), error.message());
      document.reset();
    }
  }
  if (!document) document = std::make_shared<SkinDocument>(builtInSkinDocument());

  const QString previousLayout = layoutName();
  state_->document = document;
  state_->layout = nullptr;
  const SkinLayout* keep = document->findLayout(previousLayout);
  selectLayout(keep ? previousLayout : document->layouts.front().name);
  return message;
}

bool SkinWidget::selectLayout(const QString& layoutName) {
  const SkinLayout* layout = state_->document ? state_->document->findLayout(layoutName) : nullptr;
  if (!layout) return false;
  state_->clearMouse();
  ++state_->generation;
  const QString focusedName = state_->focused ? state_->focused->name() : QString();
  state_->focused = nullptr;
  state_->objects.clear();
  state_->layout = layout;
  for (const SkinObjectSpec& spec : layout->objects) {
    auto object = std::make_unique<SkinObject>();
    object->spec_ = &spec;
    object->name_ = spec.name;
    object->kind_ = spec.kind;
    object->rect_ = spec.rect;
    object->maximum_ = spec.maximum;
    object->pageSize_ = spec.pageSize;
    object->position_ = spec.position;
    object->text_ = spec.text;
    object->owner_ = this;
    state_->objects.push_back(std::move(object));
  }
  // The keyboard stays on the object of the same name, if the layout has one.
  if (SkinObject* same = findObject(focusedName); same && isInteractive(*same)) {
    state_->focused = same;
  }
  unsetCursor();
  resize(layout->size);
  updateGeometry();
  update();
  return true;
}

SkinObject* SkinWidget::findObject(const QString& name) const {
  for (const auto& object : state_->objects) {
    if (object->name() == name) return object.get();
  }
  return nullptr;
}

QSize SkinWidget::layoutSize() const {
  return state_->layout ? state_->layout->size : QSize();
}

QSize SkinWidget::sizeHint() const {
  return layoutSize();
}

QString SkinWidget::layoutName() const {
  return state_->layout ? state_->layout->name : QString();
}

QString SkinWidget::skinTitle() const {
  return state_->document ? state_->document->title : QString();
}

QString SkinWidget::widgetStyleSheet() const {
  return state_->document ? makeWidgetStyleSheet(*state_->document) : QString();
}

void SkinWidget::redrawObject(const SkinObject& object) {
  update(skinObjectPaintArea(object));
}

void SkinWidget::setRequiredObjects(const QString& layoutName, const QStringList& objectNames) {
  state_->requiredLayout = layoutName;
  state_->requiredObjects = objectNames;
}

QRect SkinWidget::objectRect(const QString& name) const {
  const SkinObject* object = findObject(name);
  if (!object) return {};
  QRect area = object->rect();
  if (object->kind() == SkinObjectKind::Frame) area.setWidth(area.right() - area.left());
  return area;
}

QRect SkinWidget::sliderThumbRect(const QString& name) const {
  const SkinObject* object = findObject(name);
  if (!object || object->kind() != SkinObjectKind::Slider) return {};
  return tarvex::skin::sliderThumbRect(*object);
}

void SkinWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QColor face =
      state_->document ? state_->document->color(QStringLiteral("face"), QColor(0x20, 0x24, 0x2a))
                       : QColor(0x20, 0x24, 0x2a);
  painter.fillRect(event->rect(), face);
  for (const auto& object : state_->objects) {
    if (!skinObjectPaintArea(*object).intersects(event->rect())) continue;
    SkinDrawState drawState = SkinDrawState::Normal;
    if (object.get() == state_->mouseOwner && state_->ownerButton == Qt::LeftButton) {
      if (object->kind() == SkinObjectKind::Slider ? state_->draggingThumb
                                                   : state_->pressedInside) {
        drawState = SkinDrawState::Pressed;
      } else if (object.get() == state_->hovered) {
        drawState = SkinDrawState::Hover;
      }
    } else if (object.get() == state_->hovered && !state_->mouseOwner) {
      drawState = SkinDrawState::Hover;
    }
    paintSkinObject(painter, *object, drawState);
  }
  paintFocusRing(painter);
}

void SkinWidget::paintFocusRing(QPainter& painter) {
  if (!hasFocus() || !state_->focused) return;
  const QColor ring =
      state_->document ? state_->document->color(QStringLiteral("focus"), QColor(0xff, 0xc8, 0x3c))
                       : QColor(0xff, 0xc8, 0x3c);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setBrush(Qt::NoBrush);
  // Inside the area the object repaints, so moving the focus leaves no trace.
  painter.setPen(QPen(ring, 1, Qt::SolidLine));
  painter.drawRect(state_->focused->rect().adjusted(-2, -2, 1, 1));
  painter.setPen(QPen(QColor(0, 0, 0, 160), 1, Qt::DotLine));
  painter.drawRect(state_->focused->rect().adjusted(-1, -1, 0, 0));
  painter.restore();
}

std::vector<SkinObject*> SkinWidget::focusChain() const {
  std::vector<SkinObject*> chain;
  for (const auto& object : state_->objects) {
    if (isInteractive(*object) && object->rect().isValid()) chain.push_back(object.get());
  }
  return chain;
}

std::vector<SkinObject*> SkinWidget::accessibleObjects() const {
  std::vector<SkinObject*> objects;
  for (const auto& object : state_->objects) {
    if (object->kind() != SkinObjectKind::Image && object->kind() != SkinObjectKind::Region) {
      objects.push_back(object.get());
    }
  }
  return objects;
}

SkinObject* SkinWidget::focusedObject() const {
  return state_->focused;
}

void SkinWidget::setFocusedObject(SkinObject* object) {
  if (object == state_->focused) return;
  const std::vector<SkinObject*> chain = focusChain();
  if (object && std::find(chain.begin(), chain.end(), object) == chain.end()) return;
  if (state_->focused) redrawObject(*state_->focused);
  state_->focused = object;
  if (!object) return;
  redrawObject(*object);
  if (hasFocus() && QAccessible::isActive()) {
    const std::vector<SkinObject*> told = accessibleObjects();
    const auto at = std::find(told.begin(), told.end(), object);
    QAccessibleInterface* self = QAccessible::queryAccessibleInterface(this);
    if (self && at != told.end()) {
      QAccessibleEvent event(self->child(static_cast<int>(at - told.begin())), QAccessible::Focus);
      QAccessible::updateAccessibility(&event);
    }
  }
}

void SkinWidget::activateObject(SkinObject* object) {
  if (!object || object->kind() != SkinObjectKind::Button) return;
  emit OnClick(object);
}

void SkinWidget::moveSliderTo(SkinObject* object, int position) {
  if (!object || object->kind() != SkinObjectKind::Slider) return;
  const int before = object->position();
  object->setPosition(position);
  if (object->position() != before) emit OnKeyMove(object, object->position());
}

void SkinWidget::keyPressEvent(QKeyEvent* event) {
  SkinObject* object = state_->focused;
  if (!object ||
      (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
    QWidget::keyPressEvent(event);
    return;
  }
  if (object->kind() == SkinObjectKind::Button) {
    switch (event->key()) {
      case Qt::Key_Space:
      case Qt::Key_Return:
      case Qt::Key_Enter:
        activateObject(object);
        return;
      default:
        QWidget::keyPressEvent(event);
        return;
    }
  }
  const int step = std::max(1, object->span() / 100);
  const int page = object->pageSize() > 0 ? object->pageSize() : std::max(1, object->span() / 10);
  int target = object->position();
  switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Down:
      target -= step;
      break;
    case Qt::Key_Right:
    case Qt::Key_Up:
      target += step;
      break;
    case Qt::Key_PageUp:
      target -= page;
      break;
    case Qt::Key_PageDown:
      target += page;
      break;
    case Qt::Key_Home:
      target = 0;
      break;
    case Qt::Key_End:
      target = object->span();
      break;
    default:
      QWidget::keyPressEvent(event);
      return;
  }
  moveSliderTo(object, target);
}

void SkinWidget::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  const std::vector<SkinObject*> chain = focusChain();
  if (chain.empty()) return;
  if (event->reason() == Qt::TabFocusReason) {
    setFocusedObject(chain.front());
  } else if (event->reason() == Qt::BacktabFocusReason) {
    setFocusedObject(chain.back());
  } else if (!state_->focused) {
    setFocusedObject(chain.front());
  }
  if (state_->focused) redrawObject(*state_->focused);
}

void SkinWidget::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  if (state_->focused) redrawObject(*state_->focused);
}

bool SkinWidget::focusNextPrevChild(bool next) {
  const std::vector<SkinObject*> chain = focusChain();
  const auto at = std::find(chain.begin(), chain.end(), state_->focused);
  if (hasFocus() && at != chain.end()) {
    const auto index = (at - chain.begin()) + (next ? 1 : -1);
    if (index >= 0 && index < static_cast<std::ptrdiff_t>(chain.size())) {
      setFocusedObject(chain[static_cast<size_t>(index)]);
      return true;
    }
  }
  // Past either end: on to the window's next widget.
  return QWidget::focusNextPrevChild(next);
}

namespace {

SkinObject* interactiveObjectAt(const std::vector<std::unique_ptr<SkinObject>>& objects,
                                const QPoint& point) {
  for (auto it = objects.rbegin(); it != objects.rend(); ++it) {
    if (isInteractive(**it) && (*it)->rect().contains(point)) return it->get();
  }
  return nullptr;
}

}  // namespace

void SkinWidget::mousePressEvent(QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  if (state_->mouseOwner && !(event->buttons() & state_->ownerButton)) {
    endLostGrab(point);  // the release went elsewhere (a popup took the mouse)
  }
  if (state_->mouseOwner) return;  // a second button while one is held
  SkinObject* object = interactiveObjectAt(state_->objects, point);
  if (!object) return;
  state_->mouseOwner = object;
  state_->ownerButton = event->button();
  state_->hovered = object;
  const quint64 generation = state_->generation;

  if (event->button() == Qt::LeftButton && object->kind() == SkinObjectKind::Slider) {
    const QRect thumb = tarvex::skin::sliderThumbRect(*object);
    if (thumb.contains(point)) {
      state_->draggingThumb = true;
      state_->grabOffset = point.x() - thumb.left();
    }
  } else if (event->button() == Qt::LeftButton) {
    state_->pressedInside = true;
  }
  redrawObject(*object);
  emit OnMouseDown(object, event->button(), point.x(), point.y());
  if (generation != state_->generation) return;

  if (event->button() == Qt::LeftButton && object->kind() == SkinObjectKind::Slider &&
      !state_->draggingThumb) {
    // A click on the track beside the thumb moves the position by a page.
    const QRect thumb = tarvex::skin::sliderThumbRect(*object);
    const int page = object->pageSize() > 0 ? object->pageSize() : std::max(1, object->span() / 10);
    const int target =
        point.x() < thumb.left() ? object->position() - page : object->position() + page;
    const int before = object->position();
    object->setPosition(target);
    if (object->position() != before) emit OnScrollTrack(object, object->position());
  }
}

void SkinWidget::mouseMoveEvent(QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  if (state_->mouseOwner && !(event->buttons() & state_->ownerButton)) endLostGrab(point);
  SkinObject* owner = state_->mouseOwner;
  if (!owner) {
    SkinObject* under = interactiveObjectAt(state_->objects, point);
    if (under != state_->hovered) {
      if (state_->hovered) redrawObject(*state_->hovered);
      state_->hovered = under;
      if (under) redrawObject(*under);
      if (under && under->kind() == SkinObjectKind::Button) {
        setCursor(Qt::PointingHandCursor);
      } else {
        unsetCursor();
      }
    }
    return;
  }
  if (state_->draggingThumb) {
    const int position = sliderPositionForThumbLeft(*owner, point.x() - state_->grabOffset);
    if (position != owner->position()) {
      owner->setPosition(position);
      emit OnScrollTrack(owner, owner->position());
    }
    return;
  }
  const bool inside = owner->rect().contains(point);
  if (inside != state_->pressedInside && state_->ownerButton == Qt::LeftButton) {
    state_->pressedInside = inside;
    state_->hovered = inside ? owner : nullptr;
    redrawObject(*owner);
  }
}

void SkinWidget::mouseReleaseEvent(QMouseEvent* event) {
  SkinObject* owner = state_->mouseOwner;
  if (!owner || event->button() != state_->ownerButton) return;
  const QPoint point = event->position().toPoint();
  const bool click = event->button() == Qt::LeftButton && owner->kind() == SkinObjectKind::Button &&
                     owner->rect().contains(point);
  state_->mouseOwner = nullptr;
  state_->ownerButton = Qt::NoButton;
  state_->pressedInside = false;
  state_->draggingThumb = false;
  state_->hovered = interactiveObjectAt(state_->objects, point);
  redrawObject(*owner);
  const quint64 generation = state_->generation;
  emit OnMouseUp(owner, event->button(), point.x(), point.y());
  if (generation != state_->generation) return;
  if (click) emit OnClick(owner);
}

void SkinWidget::endLostGrab(const QPoint& point) {
  SkinObject* owner = state_->mouseOwner;
  const Qt::MouseButton button = state_->ownerButton;
  state_->clearMouse();
  redrawObject(*owner);
  // The object still hears that the button is up (the position bar's drag
  // ends), but a lost release is never a click.
  emit OnMouseUp(owner, button, point.x(), point.y());
}

void SkinWidget::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  if (state_->hovered && !state_->mouseOwner) {
    redrawObject(*state_->hovered);
    state_->hovered = nullptr;
    unsetCursor();
  }
}

}  // namespace tarvex::skin
