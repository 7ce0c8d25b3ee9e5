#include "tags/ID3V1Block.h"

#include <cstring>

#include "tags/GenreNames.h"

namespace tarvex {
namespace {

QString fieldText(const ID3V1Block& block, int offset, int length) {
  if (!block.hasTag()) return {};
  const char* start = block.bytes.data() + offset;
  const void* zero = std::memchr(start, 0, static_cast<size_t>(length));
  const auto used = zero ? static_cast<const char*>(zero) - start : length;
  return QString::fromLatin1(start, used);
}

}  // namespace

bool ID3V1Block::hasTag() const {
  return std::memcmp(bytes.data(), "TAG", 3) == 0;
}

QString ID3V1Block::title() const {
  return fieldText(*this, 3, 30);
}
QString ID3V1Block::artist() const {
  return fieldText(*this, 33, 30);
}
QString ID3V1Block::album() const {
  return fieldText(*this, 63, 30);
}
QString ID3V1Block::year() const {
  return fieldText(*this, 93, 4);
}
QString ID3V1Block::comment() const {
  return fieldText(*this, 97, 28);
}

QString ID3V1Block::genre() const {
  if (!hasTag()) return {};
  return genreFromID3V1Byte(static_cast<unsigned char>(bytes[127]));
}

ID3V1Block parseID3V1Block(const char* tail, qsizetype size) {
  ID3V1Block block;
  const auto blockSize = static_cast<qsizetype>(block.bytes.size());
  if (tail && size >= blockSize) {
    std::memcpy(block.bytes.data(), tail + size - blockSize, block.bytes.size());
  }
  return block;
}

}  // namespace tarvex
