#include "tags/CleanName.h"

namespace tarvex {

QString CleanName(const QString& text) {
  static const QString forbidden = QStringLiteral("*?|:\"/\\<>");
  QString result;
  result.reserve(text.size());
  for (const QChar c : text) {
    if (!forbidden.contains(c)) result.append(c);
  }
  return result;
}

}  // namespace tarvex
