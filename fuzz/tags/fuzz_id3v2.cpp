#include "fuzz/tags/FuzzInput.h"
#include "tags/ID3Chapters.h"
#include "tags/ID3V2Reader.h"
#include "tags/ID3V2Writer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tarvex::fuzz::FuzzInput input(data, size);
  const tarvex::ID3StructV2 read = tarvex::parseID3V2Tag(input.device());
  // Chapters and their tables of contents, nested or naming themselves.
  const QList<tarvex::ID3Chapter> chapters = tarvex::readID3Chapters(input.device());
  if (tarvex::id3ChapterFrames(chapters).size() > chapters.size() + 1) __builtin_trap();
  tarvex::leadingID3V2TagLength(input.device().data().left(10), static_cast<qint64>(size));
  // Whatever was read must be writable and read back the same way.
  const QByteArray written = tarvex::buildID3V23Tag(read);
  QBuffer again;
  again.setData(written);
  again.open(QIODevice::ReadOnly);
  const tarvex::ID3StructV2 back = tarvex::parseID3V2Tag(again);
  if (back.title.size() > 255 || back.comment.size() > 255) __builtin_trap();
  return 0;
}
