// Stored edge audio comes from a file's tag: any bytes at all, read as
// they stand and, packed the way the program packs it, as the body behind
// the compression. Whatever reads back must add to a span without leaving
// it.
#include <QByteArray>
#include <QtEndian>
#include <cstddef>
#include <cstdint>
#include <vector>

#include <zlib.h>

#include "components/audio/mp3frames/EdgeAudio.h"

using namespace tarvex::mp3frames;

namespace {

void addEverywhere(const EdgeAudio& audio) {
  if (audio.stretches.empty()) return;
  // A span around the first stretch and one far past every stretch.
  const int64_t at = audio.stretches.front().rawBegin;
  std::vector<float> span(static_cast<size_t>(4096 * audio.channels), 0.0f);
  addEdgeAudio(audio, at > 1000 ? at - 1000 : 0, span);
  addEdgeAudio(audio, INT64_MAX / 2, span);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  addEverywhere(readEdgeAudio(bytes));

  QByteArray packed("TXEA\x01", 5);
  char length[4];
  qToLittleEndian(static_cast<uint32_t>(size), length);
  packed.append(length, 4);
  uLongf packedBytes = compressBound(static_cast<uLong>(size));
  QByteArray body(static_cast<qsizetype>(packedBytes), '\0');
  if (compress(reinterpret_cast<Bytef*>(body.data()), &packedBytes, data,
               static_cast<uLong>(size)) != Z_OK)
    return 0;
  packed.append(body.constData(), static_cast<qsizetype>(packedBytes));
  addEverywhere(readEdgeAudio(packed));
  return 0;
}
