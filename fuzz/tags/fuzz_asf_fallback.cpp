#include "fuzz/tags/FuzzInput.h"
#include "tags/AsfFallbackParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tarvex::fuzz::FuzzInput input(data, size);
  tarvex::WmaTagRecord record;
  tarvex::parseAsfFallback(input.device(), record);
  if (record.title.size() > 127 || record.description.size() > 254 || record.genre.size() > 32) {
    __builtin_trap();
  }
  return 0;
}
