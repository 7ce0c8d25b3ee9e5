#pragma once

#include <QByteArray>
#include <QList>

#include "tags/CarriedTags.h"

namespace tarvex {

// Which of a source's tag items its pieces carry. A piece is a new file with
// its own audio, so what describes the source file as a whole is left out:
// - its length and size (ID3 TLEN, TSIZ) and where its audio frames lie or
//   what happens when (MLLT, SEEK, ASPI, ETCO, SYTC, SYLT, POSS, RBUF);
// - its loudness: ReplayGain and volume adjustments (ID3 RVAD/RVA2, user texts
//   REPLAYGAIN_* and MP3GAIN_*, the players' iTunNORM comments; Vorbis
//   REPLAYGAIN_* and R128_*), measured over the whole file;
// - its chapters (ID3 CHAP/CTOC, Vorbis CHAPTERnnn…), which point into it;
// - its gapless data (iTunSMPB, iTunPGAP) and the CD's table of contents
//   (MCDI), which name its exact length or the disc it was read from;
// - its encoder and encoder settings (ID3 TSSE, Vorbis ENCODER and
//   ENCODER_OPTIONS): a piece is re-encoded, in whole or at its cut edges;
// - its play count (PCNT), signature, encryption and grouping registrations
//   (SIGN, ENCR, GRID, AENC), frames its tag marks to be dropped once the
//   audio is altered, and the audio of its own encoded edges (see
//   EdgeAudioFrame.h);
// - the total of tracks (Vorbis TRACKTOTAL, TOTALTRACKS): a piece's "n/N"
//   counts the source's pieces.
// Everything else (pictures, composer, lyrics, disc number, described
// comments, user texts, URLs, ratings, private frames) is carried.
QList<ID3Frame> id3FramesForPieces(const QList<ID3Frame>& frames);
QList<QByteArray> vorbisCommentsForPieces(const QList<QByteArray>& comments);
QList<WmaAttribute> wmaAttributesForPieces(const QList<WmaAttribute>& attributes);

}  // namespace tarvex
