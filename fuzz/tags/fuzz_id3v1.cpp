#include "tags/ID3V1Block.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const tarvex::ID3V1Block block =
      tarvex::parseID3V1Block(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const qsizetype total = block.title().size() + block.artist().size() + block.album().size() +
                          block.year().size() + block.comment().size();
  if (total > 30 + 30 + 30 + 4 + 28) __builtin_trap();
  return 0;
}
