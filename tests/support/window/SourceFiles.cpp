#include "tests/support/window/SourceFiles.h"

#include <QFile>
#include <QRandomGenerator>

#include "tags/ID3Tags.h"
#include "tests/support/GeneratedAudio.h"

namespace tarvex::testing {

QString makeMp3Source(const QString& path, double seconds) {
  if (!QFile::exists(path)) writeToneFile(path, seconds, 22050, 1, AudioFormat::Mp3);
  return path;
}

QString makeWavSource(const QString& path, double seconds) {
  if (!QFile::exists(path)) writeToneFile(path, seconds, 8000, 1, AudioFormat::Wav);
  return path;
}

void setMp3Title(const QString& path, const QString& title) {
  ID3StructV2 fields;
  fields.title = title;
  fields.artist = QStringLiteral("Test Artist");
  ID3Tags().WriteID3V2Tag(path, fields);
}

QString makeJunkFile(const QString& path, int bytes) {
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) {
    QByteArray junk(bytes, '\0');
    QRandomGenerator generator(1234);
    for (char& byte : junk) byte = static_cast<char>(generator.bounded(256));
    file.write(junk);
  }
  return path;
}

}  // namespace tarvex::testing
