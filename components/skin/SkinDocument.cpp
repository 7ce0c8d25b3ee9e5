#include "components/skin/SkinDocument.h"

namespace tarvex::skin {

const SkinObjectSpec* SkinLayout::find(const QString& objectName) const {
  for (const SkinObjectSpec& object : objects) {
    if (object.name == objectName) return &object;
  }
  return nullptr;
}

const SkinLayout* SkinDocument::findLayout(const QString& layoutName) const {
  for (const SkinLayout& layout : layouts) {
    if (layout.name == layoutName) return &layout;
  }
  return nullptr;
}

QColor SkinDocument::color(const QString& colorName, const QColor& fallback) const {
  auto found = colors.find(colorName);
  return found == colors.end() ? fallback : found->second;
}

}  // namespace tarvex::skin
