#pragma once

#include <QStringList>

namespace tarvex {

// The lines shown over the empty lists, leading and trailing spaces included.
inline QStringList instructionsLines() {
  return {
      QString(),
      QStringLiteral(" "),
      QStringLiteral("    1. Click \"Add\" to add files you want to convert"),
      QStringLiteral("    2. Set begin-time/end-time for every file.            "),
      QStringLiteral("    3. Click \"OK\" button to notarize."),
      QStringLiteral("    4. Set Output Format"),
      QStringLiteral("    5. To cut piece from one big audio file, Click \"Split\""),
      QStringLiteral("    6. To marge multiple files into one big file, Click "),
      QStringLiteral("\"Join\""),
      QStringLiteral("    7. To terminate the conversion, click \"Stop\" button. "),
  };
}

}  // namespace tarvex
