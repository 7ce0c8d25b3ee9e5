#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tarvex::testing {

// Every tag item of an MP3 (ID3) or Ogg Vorbis file as mutagen reads it, one
// "KEY=value" line each, sorted: ID3 frames by mutagen's hash key
// ("TCOM", "COMM:desc:eng", "TXXX:desc", "APIC:desc"), Vorbis comments by
// their upper-cased key. Pictures (APIC, METADATA_BLOCK_PICTURE) read
// "PICTURE:<type>=<mime> <sha1 of the image>"; Vorbis pictures get that key
// instead of their own. Private frames read "PRIV:<owner>=<sha1 of the data>".
QStringList mutagenTagLines(const QString& path);

// A small PNG image made by ffmpeg.
QByteArray smallPng(const QString& folder);

// Tags an MP3 file with mid3v2 (ID3v2.4) as a well-kept library file is:
// title, artist, album, year, genre, track 7/12, disc 1/2, a comment, a
// composer outside ISO-8859-1, lyrics, a user text, a front cover (`png`),
// and frames that describe the whole file: its length (TLEN) and its
// ReplayGain (TXXX:REPLAYGAIN_TRACK_GAIN).
void tagRichMp3(const QString& path, const QString& png);

// The same tag as Vorbis comments (picture as METADATA_BLOCK_PICTURE, the
// total of tracks as TRACKTOTAL), raw.
QList<QByteArray> richVorbisComments(const QByteArray& png);

// What a piece of a source tagged as above should carry, given the source's
// lines: everything but the whole-file items, with the track "n/N".
QStringList expectedPieceLines(const QStringList& sourceLines, const QString& track);

}  // namespace tarvex::testing
