#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

namespace tarvex::testing {

// Odd and broken audio files, made from generated sound.

// A VBR MP3 (22050 Hz mono) with no Xing/LAME header: its length can only be
// learned by reading it.
QString makeVbrMp3WithoutXing(const QString& path, double seconds);
// An MP3 holding a single MPEG frame.
QString makeOneFrameMp3(const QString& path);
// The first `keptBytes` bytes of `from`.
QString makeTruncatedCopy(const QString& from, const QString& path, qint64 keptBytes);
// `from` behind an ID3v2 header whose size field claims `claimedBytes`.
QString makeLyingId3Copy(const QString& from, const QString& path, quint32 claimedBytes);
// An empty file.
QString makeEmptyFile(const QString& path);

// A file's bytes (empty when it cannot be read), and writing them back.
QByteArray fileBytes(const QString& path);
bool writeFileBytes(const QString& path, const QByteArray& bytes);

// SHA-256 of a file's bytes (empty when it cannot be read).
QByteArray fileChecksum(const QString& path);
// Checksums of every file, by path.
QMap<QString, QByteArray> checksumsOf(const QStringList& paths);

// Every entry of a folder (hidden ones too), sorted by name.
QStringList folderEntries(const QString& folder);

}  // namespace tarvex::testing
