// Arbitrary bytes named .mp3, .ogg, .wma or .wav: opening either fails with
// an AudioError or gives a file whose blocks can be read to the end.
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

#include "components/audio/AudioError.h"
#include "components/audio/AudioFile2.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static QTemporaryDir folder;
  if (size < 1) return 0;
  static const char* const extensions[] = {".mp3", ".ogg", ".wma", ".wav"};
  const QString path = folder.path() + QStringLiteral("/input") +
                       QLatin1String(extensions[data[0] % 4]);
  {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 0;
    file.write(reinterpret_cast<const char*>(data + 1), static_cast<qint64>(size - 1));
  }
  tarvex::AudioFile2 reader;
  reader.setActive(true);
  try {
    reader.OpenRead(path, 0, 1);
    if (reader.Samples() < 0 || reader.Channels() < 1 || reader.SampleRate() < 1) __builtin_trap();
    for (int i = 0; i < 8; ++i) {
      const tarvex::SampleBlock block = reader.ReadBlock(4096);
      if (block.upperBound() < 1) break;
      if (block.upperBound() % reader.Channels() != 0) __builtin_trap();
    }
    reader.Seek(reader.Samples() / 2, 3);
    (void)reader.ReadBlock(1024);
    reader.SetPcmFormat(22050, 1);
    reader.Seek(0, 3);
    (void)reader.ReadBlock(1024);
  } catch (const tarvex::AudioError&) {
  }
  return 0;
}
