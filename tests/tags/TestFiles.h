#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTemporaryDir>

namespace tarvex::testing {

QByteArray readBytes(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);
// Names of the entries of a folder, sorted.
QStringList folderEntries(const QString& folder);

// A second of a 440 Hz tone encoded as MP3 (mono, 44.1 kHz, 64 kbit/s).
QByteArray makeMp3Tone(double seconds = 1.0);

// An Ogg Vorbis tone with the given raw comments. With sharedHeaderPage the
// setup header and the first audio packets share a page.
void makeOggVorbis(const QString& path, const QList<QByteArray>& comments,
                   bool sharedHeaderPage = false, double seconds = 1.0);

// A WMA (ASF, wmav2) tone.
void makeWma(const QString& path, double seconds = 1.0);

// The packets of the first logical stream of an Ogg file, checked on the way:
// every page must pass its checksum and the page sequence must have no gaps.
struct OggPackets {
  QList<QByteArray> packets;
  QList<qint64> granules;  // granule position per packet (-1 when none)
  bool pagesIntact = true;
  int headerPages = 0;  // pages up to the one that completes the third packet
};
OggPackets readOggPackets(const QString& path);

}  // namespace tarvex::testing
