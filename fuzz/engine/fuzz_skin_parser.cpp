// Any text handed to the skin parser either parses or raises a SkinError.
#include <QString>
#include <cstddef>
#include <cstdint>

#include "components/skin/SkinError.h"
#include "components/skin/SkinParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString text =
      QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  try {
    const tarvex::skin::SkinDocument document = tarvex::skin::parseSkinText(text);
    for (const auto& layout : document.layouts) {
      for (const auto& object : layout.objects) {
        if (layout.find(object.name) == nullptr) __builtin_trap();
      }
    }
  } catch (const tarvex::skin::SkinError&) {
  }
  return 0;
}
