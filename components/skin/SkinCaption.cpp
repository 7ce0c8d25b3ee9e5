#include "components/skin/SkinCaption.h"

#include "components/skin/SkinDocument.h"
#include "components/skin/SkinObject.h"

namespace tarvex::skin {

QString skinObjectCaption(const SkinObject& object) {
  const SkinObjectSpec& spec = object.spec();
  if (!spec.label.trimmed().isEmpty()) return spec.label.trimmed();
  if (!spec.symbol.isEmpty()) return spec.symbol.left(1).toUpper() + spec.symbol.mid(1);
  if (!object.text().trimmed().isEmpty()) return object.text().trimmed();
  return object.name();
}

}  // namespace tarvex::skin
