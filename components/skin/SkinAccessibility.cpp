#include "components/skin/SkinAccessibility.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <QWindow>

#include "components/skin/SkinCaption.h"
#include "components/skin/SkinObject.h"
#include "components/skin/SkinWidget.h"

namespace tarvex::skin {
namespace {

QAccessible::Role roleOf(SkinObjectKind kind) {
  switch (kind) {
    case SkinObjectKind::Button:
      return QAccessible::Button;
    case SkinObjectKind::Slider:
      return QAccessible::Slider;
    case SkinObjectKind::Text:
      return QAccessible::StaticText;
    case SkinObjectKind::Frame:
      return QAccessible::ProgressBar;
    case SkinObjectKind::Waveform:
    case SkinObjectKind::Region:
    case SkinObjectKind::Image:
      break;
  }
  return QAccessible::Graphic;
}

// One skin object. It holds the widget and the object's name, not the object:
// loading another skin replaces the objects, and an interface whose name the
// new layout lacks simply becomes invalid.
class SkinObjectAccessible : public QAccessibleInterface,
                             public QAccessibleActionInterface,
                             public QAccessibleValueInterface {
 public:
  SkinObjectAccessible(SkinWidget* widget, QString name)
      : widget_(widget), name_(std::move(name)) {}

  bool isValid() const override { return skinObject() != nullptr; }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return widget_ ? widget_->window()->windowHandle() : nullptr; }
  QAccessibleInterface* parent() const override {
    return widget_ ? QAccessible::queryAccessibleInterface(widget_.data()) : nullptr;
  }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }

  QString text(QAccessible::Text kind) const override {
    const SkinObject* object = skinObject();
    if (object == nullptr) return {};
    switch (kind) {
      case QAccessible::Name:
        return skinObjectCaption(*object);
      case QAccessible::Value:
        if (object->kind() == SkinObjectKind::Slider) return QString::number(object->position());
        if (object->kind() == SkinObjectKind::Text) return object->text();
        return {};
      default:
        return {};
    }
  }
  void setText(QAccessible::Text, const QString&) override {}

  QRect rect() const override {
    const SkinObject* object = skinObject();
    if (object == nullptr) return {};
    return QRect(widget_->mapToGlobal(object->rect().topLeft()), object->rect().size());
  }
  QAccessible::Role role() const override {
    const SkinObject* object = skinObject();
    return object != nullptr ? roleOf(object->kind()) : QAccessible::NoRole;
  }
  QAccessible::State state() const override {
    QAccessible::State state;
    const SkinObject* object = skinObject();
    if (object == nullptr) {
      state.invalid = true;
      return state;
    }
    state.invisible = !widget_->isVisible();
    const bool takesFocus =
        object->kind() == SkinObjectKind::Button || object->kind() == SkinObjectKind::Slider;
    state.focusable = takesFocus;
    state.focused = takesFocus && widget_->hasFocus() && widget_->focusedObject() == object;
    state.readOnly = object->kind() == SkinObjectKind::Text;
    return state;
  }

  void* interface_cast(QAccessible::InterfaceType type) override {
    const SkinObject* object = skinObject();
    if (object == nullptr) return nullptr;
    if (type == QAccessible::ActionInterface && object->kind() == SkinObjectKind::Button) {
      return static_cast<QAccessibleActionInterface*>(this);
    }
    if (type == QAccessible::ValueInterface && object->kind() == SkinObjectKind::Slider) {
      return static_cast<QAccessibleValueInterface*>(this);
    }
    return nullptr;
  }

  // A button's one action: pressing it, as Space does.
  QStringList actionNames() const override { return {pressAction()}; }
  void doAction(const QString& action) override {
    SkinObject* object = skinObject();
    if (object != nullptr && action == pressAction()) widget_->activateObject(object);
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

  // A slider's position.
  QVariant currentValue() const override {
    const SkinObject* object = skinObject();
    return object != nullptr ? QVariant(object->position()) : QVariant();
  }
  void setCurrentValue(const QVariant& value) override {
    SkinObject* object = skinObject();
    if (object != nullptr) widget_->moveSliderTo(object, value.toInt());
  }
  QVariant maximumValue() const override {
    const SkinObject* object = skinObject();
    return object != nullptr ? QVariant(object->span()) : QVariant();
  }
  QVariant minimumValue() const override { return 0; }
  QVariant minimumStepSize() const override { return 1; }

 private:
  SkinObject* skinObject() const { return widget_ ? widget_->findObject(name_) : nullptr; }

  QPointer<SkinWidget> widget_;
  QString name_;
};

class SkinWidgetAccessible : public QAccessibleWidget {
 public:
  explicit SkinWidgetAccessible(SkinWidget* widget)
      : QAccessibleWidget(widget, QAccessible::Client) {}
  ~SkinWidgetAccessible() override {
    for (const QAccessible::Id id : std::as_const(children_))
      QAccessible::deleteAccessibleInterface(id);
  }

  int childCount() const override { return static_cast<int>(skin()->accessibleObjects().size()); }
  QAccessibleInterface* child(int index) const override {
    const std::vector<SkinObject*> objects = skin()->accessibleObjects();
    if (index < 0 || index >= static_cast<int>(objects.size())) return nullptr;
    return childFor(objects[static_cast<size_t>(index)]->name());
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    const std::vector<SkinObject*> objects = skin()->accessibleObjects();
    for (int index = 0; index < static_cast<int>(objects.size()); ++index) {
      const auto id = children_.constFind(objects[static_cast<size_t>(index)]->name());
      if (id != children_.constEnd() && QAccessible::accessibleInterface(*id) == child)
        return index;
    }
    return -1;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    const QPoint point = skin()->mapFromGlobal(QPoint(x, y));
    const std::vector<SkinObject*> objects = skin()->accessibleObjects();
    for (auto it = objects.rbegin(); it != objects.rend(); ++it) {
      if ((*it)->rect().contains(point)) return childFor((*it)->name());
    }
    return nullptr;
  }
  QAccessibleInterface* focusChild() const override {
    const SkinObject* focused = skin()->focusedObject();
    return focused != nullptr && skin()->hasFocus() ? childFor(focused->name()) : nullptr;
  }

 private:
  SkinWidget* skin() const { return static_cast<SkinWidget*>(widget()); }
  QAccessibleInterface* childFor(const QString& name) const {
    if (const auto id = children_.constFind(name); id != children_.constEnd()) {
      return QAccessible::accessibleInterface(*id);
    }
    auto* child = new SkinObjectAccessible(skin(), name);
    children_.insert(name, QAccessible::registerAccessibleInterface(child));
    return child;
  }

  mutable QHash<QString, QAccessible::Id> children_;  // by object name, made when first asked for
};

}  // namespace

QAccessibleInterface* skinAccessibleFactory(const QString&, QObject* object) {
  if (auto* widget = qobject_cast<SkinWidget*>(object)) return new SkinWidgetAccessible(widget);
  return nullptr;
}

}  // namespace tarvex::skin
