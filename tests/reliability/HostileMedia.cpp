#include "tests/reliability/HostileMedia.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include "tests/support/GeneratedAudio.h"

namespace tarvex::testing {

QByteArray fileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFileBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QString makeVbrMp3WithoutXing(const QString& path, double seconds) {
  OutputSettings settings;
  settings.mp3.setVbrMethod(2);
  settings.mp3.setVbrQuality(2);
  settings.mp3.setVbrHeader(0);
  // Noise makes the frame sizes vary, so no single frame's bitrate tells the length.
  writeAudioFile(path, Signal::Noise, static_cast<int64_t>(seconds * 22050), 22050, 1, settings);
  return path;
}

QString makeOneFrameMp3(const QString& path) {
  OutputSettings settings;
  settings.mp3.setVbrHeader(0);
  writeAudioFile(path, Signal::Tone, 576, 22050, 1, settings);
  return path;
}

QString makeTruncatedCopy(const QString& from, const QString& path, qint64 keptBytes) {
  QFile source(from);
  QFile target(path);
  if (source.open(QIODevice::ReadOnly) && target.open(QIODevice::WriteOnly)) {
    target.write(source.read(keptBytes));
  }
  return path;
}

QString makeLyingId3Copy(const QString& from, const QString& path, quint32 claimedBytes) {
  QFile source(from);
  QFile target(path);
  if (source.open(QIODevice::ReadOnly) && target.open(QIODevice::WriteOnly)) {
    QByteArray header("ID3\x03\x00\x00", 6);
    for (int shift = 21; shift >= 0; shift -= 7) {
      header.append(static_cast<char>((claimedBytes >> shift) & 0x7F));
    }
    target.write(header);
    target.write(source.readAll());
  }
  return path;
}

QString makeEmptyFile(const QString& path) {
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.close();
  return path;
}

QByteArray fileChecksum(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  QCryptographicHash hash(QCryptographicHash::Sha256);
  hash.addData(&file);
  return hash.result().toHex();
}

QMap<QString, QByteArray> checksumsOf(const QStringList& paths) {
  QMap<QString, QByteArray> sums;
  for (const QString& path : paths) sums.insert(path, fileChecksum(path));
  return sums;
}

QStringList folderEntries(const QString& folder) {
  return QDir(folder).entryList(
      QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

}  // namespace tarvex::testing
