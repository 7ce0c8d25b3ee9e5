// Any bytes as a CUE sheet: a sheet, or CueSheetError; never a crash.
#include <QByteArray>
#include <cstddef>
#include <cstdint>

#include "sources/cue/CueSheetError.h"
#include "sources/cue/CueSheetReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes =
      QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  try {
    (void)tarvex::parseCueSheet(bytes, QStringLiteral("fuzz.cue"));
  } catch (const tarvex::CueSheetError&) {
  }
  (void)tarvex::decodeCueText(bytes);
  return 0;
}
