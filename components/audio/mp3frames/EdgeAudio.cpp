#include "components/audio/mp3frames/EdgeAudio.h"

#include <QtEndian>

#include <zlib.h>

#include <algorithm>
#include <cmath>

namespace tarvex::mp3frames {

namespace {

constexpr char kMagic[] = "TXEA";
constexpr int kMagicBytes = 4;
constexpr unsigned char kVersion = 1;
// Far more than any piece's edges need (a few frames each); a stored form
// that claims more is not ours, and is not unpacked.
constexpr uint32_t kMostUnpackedBytes = 4u << 20;
constexpr uint16_t kMostStretches = 16;
constexpr int kMostChannels = 2;
// Past any position a file's frames reach (years of audio); a stretch that
// starts later is not ours, and its end is not even counted.
constexpr int64_t kMostRawBegin = int64_t{1} << 48;

template <typename T>
void append(QByteArray& out, T value) {
  char bytes[sizeof(T)];
  qToLittleEndian(value, bytes);
  out.append(bytes, sizeof(T));
}

// Reads little-endian values off the front of stored bytes; once a read
// would run past the end, every later read fails too.
class Reader {
 public:
  explicit Reader(const QByteArray& bytes) : bytes_(bytes) {}
  template <typename T>
  bool read(T& value) {
    if (!ok_ || bytes_.size() - at_ < static_cast<qsizetype>(sizeof(T))) return ok_ = false;
    value = qFromLittleEndian<T>(bytes_.constData() + at_);
    at_ += sizeof(T);
    return true;
  }
  qsizetype left() const { return bytes_.size() - at_; }

 private:
  const QByteArray& bytes_;
  qsizetype at_ = 0;
  bool ok_ = true;
};

}  // namespace

uint64_t frameBytesHash(const unsigned char* data, size_t size) {
  // FNV-1a, 64 bits.
  uint64_t hash = 14695981039346656037ull;
  for (size_t i = 0; i < size; ++i) {
    hash ^= data[i];
    hash *= 1099511628211ull;
  }
  return hash;
}

QByteArray storeEdgeAudio(const EdgeAudio& audio) {
  QByteArray payload;
  append<uint8_t>(payload, static_cast<uint8_t>(audio.channels));
  append<uint16_t>(payload, static_cast<uint16_t>(audio.stretches.size()));
  for (const EdgeAudioStretch& stretch : audio.stretches) {
    append<int64_t>(payload, stretch.rawBegin);
    append<uint32_t>(payload, stretch.firstFrame);
    append<uint32_t>(payload, stretch.frameCount);
    append<uint64_t>(payload, stretch.framesHash);
    append<uint32_t>(payload, static_cast<uint32_t>(stretch.difference.size()));
    for (int16_t value : stretch.difference) append<int16_t>(payload, value);
  }
  QByteArray stored(kMagic, kMagicBytes);
  stored.append(static_cast<char>(kVersion));
  append<uint32_t>(stored, static_cast<uint32_t>(payload.size()));
  uLongf packedBytes = compressBound(static_cast<uLong>(payload.size()));
  QByteArray packed(static_cast<qsizetype>(packedBytes), Qt::Uninitialized);
  if (compress(reinterpret_cast<Bytef*>(packed.data()), &packedBytes,
               reinterpret_cast<const Bytef*>(payload.constData()),
               static_cast<uLong>(payload.size())) != Z_OK)
    return {};
  stored.append(packed.constData(), static_cast<qsizetype>(packedBytes));
  return stored;
}

EdgeAudio readEdgeAudio(const QByteArray& stored) {
  if (stored.size() < kMagicBytes + 1 + 4 || !stored.startsWith(kMagic) ||
      static_cast<unsigned char>(stored[kMagicBytes]) != kVersion)
    return {};
  const auto unpackedBytes = qFromLittleEndian<uint32_t>(stored.constData() + kMagicBytes + 1);
  if (unpackedBytes > kMostUnpackedBytes) return {};
  QByteArray payload(static_cast<qsizetype>(unpackedBytes), Qt::Uninitialized);
  uLongf unpacked = unpackedBytes;
  const qsizetype packedAt = kMagicBytes + 1 + 4;
  if (uncompress(reinterpret_cast<Bytef*>(payload.data()), &unpacked,
                 reinterpret_cast<const Bytef*>(stored.constData() + packedAt),
                 static_cast<uLong>(stored.size() - packedAt)) != Z_OK ||
      unpacked != unpackedBytes)
    return {};
  Reader reader(payload);
  uint8_t channels = 0;
  uint16_t count = 0;
  if (!reader.read(channels) || !reader.read(count) || channels < 1 || channels > kMostChannels ||
      count > kMostStretches)
    return {};
  EdgeAudio audio;
  audio.channels = channels;
  for (uint16_t i = 0; i < count; ++i) {
    EdgeAudioStretch stretch;
    uint32_t values = 0;
    if (!reader.read(stretch.rawBegin) || !reader.read(stretch.firstFrame) ||
        !reader.read(stretch.frameCount) || !reader.read(stretch.framesHash) ||
        !reader.read(values))
      return {};
    if (stretch.rawBegin < 0 || stretch.rawBegin > kMostRawBegin || values % channels != 0 ||
        static_cast<qsizetype>(values) * 2 > reader.left())
      return {};
    stretch.difference.resize(values);
    for (int16_t& value : stretch.difference) reader.read(value);
    audio.stretches.push_back(std::move(stretch));
  }
  return audio;
}

void addEdgeAudio(const EdgeAudio& audio, int64_t rawBegin, std::vector<float>& span) {
  if (audio.channels < 1) return;
  const int64_t rawEnd = rawBegin + static_cast<int64_t>(span.size()) / audio.channels;
  for (const EdgeAudioStretch& stretch : audio.stretches) {
    const int64_t stretchEnd =
        stretch.rawBegin + static_cast<int64_t>(stretch.difference.size()) / audio.channels;
    const int64_t from = std::max(rawBegin, stretch.rawBegin);
    const int64_t to = std::min(rawEnd, stretchEnd);
    for (int64_t raw = from; raw < to; ++raw) {
      for (int channel = 0; channel < audio.channels; ++channel) {
        const int16_t step = stretch.difference[static_cast<size_t>(
            (raw - stretch.rawBegin) * audio.channels + channel)];
        span[static_cast<size_t>((raw - rawBegin) * audio.channels + channel)] +=
            static_cast<float>(step) / 32768.0f;
      }
    }
  }
}

}  // namespace tarvex::mp3frames
