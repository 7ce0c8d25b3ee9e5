// Random cut points on any stream: the first 8 bytes pick the piece, the
// rest is the source file. A piece the cutter writes must be a stream of
// valid frames of the source's kind whose every back-pointer finds the
// reservoir bytes it points at, and must match the edge audio measured on
// it.
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "components/audio/AudioError.h"
#include "components/audio/mp3frames/Mp3FrameSource.h"
#include "components/audio/mp3frames/Mp3LosslessCut.h"

using namespace tarvex::mp3frames;

namespace {

void writeFile(const QString& path, const uint8_t* data, size_t size) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) __builtin_trap();
  file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
}

uint32_t le32(const uint8_t* at) {
  uint32_t value = 0;
  std::memcpy(&value, at, 4);
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 8) return 0;
  static QTemporaryDir folder;
  const QString sourcePath = folder.path() + QStringLiteral("/source.mp3");
  const QString piecePath = folder.path() + QStringLiteral("/piece.mp3");
  writeFile(sourcePath, data + 8, size - 8);
  QFile::remove(piecePath);
  try {
    const Mp3FrameSource source(sourcePath);
    const int64_t total = source.totalSamples();
    if (total <= 0) return 0;
    const int64_t first = static_cast<int64_t>(le32(data) % static_cast<uint64_t>(total));
    const int64_t end =
        first + 1 + static_cast<int64_t>(le32(data + 4) % static_cast<uint64_t>(total - first));
    QByteArray edgeAudio;
    const auto keepEdgeAudio = [&edgeAudio](const QByteArray& stored) {
      edgeAudio = stored;
      return QByteArray();
    };
    if (!writeMp3Piece(source, first, end, piecePath, QByteArray(), nullptr, PieceEdges::Reencoded,
                       {}, nullptr, nullptr, keepEdgeAudio))
      __builtin_trap();

    // The piece takes back the edge audio measured on it, whole.
    const Mp3FrameSource piece(piecePath, edgeAudio);
    if (piece.edgeAudio().stretches.size() != readEdgeAudio(edgeAudio).stretches.size())
      __builtin_trap();
    if (piece.totalSamples() != end - first) __builtin_trap();
    if (piece.sampleRate() != source.sampleRate() || piece.channels() != source.channels())
      __builtin_trap();
    // Every frame's main data begins inside the areas of the frames before it.
    int64_t reservoir = 0;
    for (const FrameEntry& frame : piece.frames()) {
      if (frame.mainDataBegin > reservoir) __builtin_trap();
      reservoir += frame.areaBytes();
    }
  } catch (const tarvex::AudioError&) {
  }
  return 0;
}
