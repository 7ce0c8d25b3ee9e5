#include "app/dialogs/DialogFont.h"

#include <QStringList>

namespace tarvex {

QFont DialogFont(const QFont& base, int pixelSize) {
  QFont font = base;
  font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                    QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"),
                    QStringLiteral("Arial"), base.family()});
  font.setPixelSize(pixelSize);
  return font;
}

}  // namespace tarvex
