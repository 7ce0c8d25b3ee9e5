#include "components/skin/BuiltInSkin.h"

#include <QFile>

// Resources of a static library must be registered by name before first use;
// Q_INIT_RESOURCE may not stand inside a namespace.
static void registerDefaultSkinResource() {
  Q_INIT_RESOURCE(default_skin);
}

namespace tarvex::skin {

QString builtInSkinText() {
  registerDefaultSkinResource();
  QFile file(QStringLiteral(":/tarvex/skin/default.skin"));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

}  // namespace tarvex::skin
