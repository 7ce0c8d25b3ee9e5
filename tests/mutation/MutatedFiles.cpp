#include "tests/mutation/MutatedFiles.h"

#include <QFile>

#include <algorithm>

#include "components/audio/mp3frames/Mp3FrameSource.h"

namespace tarvex::testing {

namespace {

int64_t pick(std::mt19937& random, int64_t low, int64_t high) {
  return std::uniform_int_distribution<int64_t>(low, std::max(low, high))(random);
}

}  // namespace

Mp3Bytes readMp3Bytes(const QString& path) {
  Mp3Bytes mp3;
  QFile file(path);
  if (file.open(QIODevice::ReadOnly)) mp3.bytes = file.readAll();
  const mp3frames::Mp3FrameSource source(path);
  for (const mp3frames::FrameEntry& frame : source.frames())
    mp3.frameOffsets.push_back(static_cast<int64_t>(frame.offset));
  mp3.sideInfoOffset = 4 + (source.firstHeader().crcProtected ? 2 : 0);
  mp3.mpeg1 = source.firstHeader().version == mp3frames::MpegFrameHeader::Version::Mpeg1;
  return mp3;
}

QByteArray mutate(const Mp3Bytes& original, const Mp3Bytes& other, Mutation mutation,
                  std::mt19937& random) {
  QByteArray bytes = original.bytes;
  const auto size = static_cast<int64_t>(bytes.size());
  const auto frameAt = [&] {
    return original.frameOffsets[static_cast<size_t>(
        pick(random, 0, static_cast<int64_t>(original.frameOffsets.size()) - 1))];
  };
  switch (mutation) {
    case Mutation::ByteFlips:
      for (int64_t flips = pick(random, 1, 12); flips > 0; --flips)
        bytes[static_cast<qsizetype>(pick(random, 0, size - 1))] =
            static_cast<char>(pick(random, 0, 255));
      break;
    case Mutation::Truncation:
      bytes.truncate(pick(random, 1, size - 1));
      break;
    case Mutation::PlantedSync:
      for (int64_t words = pick(random, 1, 6); words > 0; --words) {
        const int64_t at = pick(random, 0, size - 4);
        static const char kSyncs[][4] = {{'\xFF', '\xFB', '\x90', '\x64'},
                                         {'\xFF', '\xF3', '\x48', '\xC4'},
                                         {'\xFF', '\xE3', '\x18', '\x00'},
                                         {'\xFF', '\xFB', '\x00', '\x00'}};
        bytes.replace(at, 4, kSyncs[pick(random, 0, 3)], 4);
      }
      break;
    case Mutation::HugeBackPointers:
      for (int64_t frames = pick(random, 1, 8); frames > 0; --frames) {
        const auto side = static_cast<qsizetype>(frameAt() + original.sideInfoOffset);
        // main_data_begin: 9 bits in MPEG-1, 8 in MPEG-2; all ones.
        bytes[side] = '\xFF';
        if (original.mpeg1) bytes[side + 1] = static_cast<char>(bytes[side + 1] | 0x80);
      }
      break;
    case Mutation::Splice: {
      const int64_t head = pick(random, 1, size - 1);
      const int64_t tail = pick(random, 1, static_cast<int64_t>(other.bytes.size()) - 1);
      bytes = bytes.left(head) + other.bytes.right(tail);
      break;
    }
    case Mutation::LyingInfo: {
      // The Info frame's counts follow its tag and flags.
      const int64_t info = bytes.indexOf("Info");
      if (info < 0) break;
      const auto field = static_cast<qsizetype>(info + 8 + 4 * pick(random, 0, 1));
      const auto value = static_cast<uint32_t>(pick(random, 0, 0xFFFFFFFFLL));
      for (int i = 0; i < 4; ++i) bytes[field + i] = static_cast<char>(value >> (24 - 8 * i));
      break;
    }
  }
  return bytes;
}

}  // namespace tarvex::testing
