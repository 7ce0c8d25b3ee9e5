#pragma once

#include <QColor>
#include <QRect>
#include <QSize>
#include <QString>
#include <map>
#include <vector>

#include "components/skin/SkinLook.h"
#include "components/skin/SkinObject.h"

namespace tarvex::skin {

// One object as the skin file declares it.
struct SkinObjectSpec {
  SkinObjectKind kind = SkinObjectKind::Image;
  QString name;
  QRect rect;
  SkinStyle style;
  QString label;   // caption of a button or image
  QString text;    // first text of a text display
  QString symbol;  // vector symbol drawn on a button or image
  int maximum = 100;
  int pageSize = 0;
  int position = 0;
  int line = 0;  // where it is declared, for messages
};

// One window layout: its client size and its objects in drawing order.
struct SkinLayout {
  QString name;
  QSize size;
  std::vector<SkinObjectSpec> objects;

  const SkinObjectSpec* find(const QString& objectName) const;
};

// A parsed skin file.
struct SkinDocument {
  QString title;
  std::map<QString, QColor> colors;
  std::map<QString, SkinStyle> styles;
  std::vector<SkinLayout> layouts;

  const SkinLayout* findLayout(const QString& layoutName) const;
  // A named colour, or `fallback` when the skin does not define it.
  QColor color(const QString& colorName, const QColor& fallback) const;
};

}  // namespace tarvex::skin
