#pragma once

#include "components/audio/mp3frames/Mp3FrameSource.h"
#include "components/audio/mp3frames/SeamlessPiece.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>

namespace tarvex::mp3frames {

// How a piece [firstSample, endSample) of a source is copied.
struct Mp3PiecePlan {
  size_t firstFrame = 0;  // source frames copied, inclusive
  size_t lastFrame = 0;
  bool silentFrame = false;  // a frame made here goes first, carrying the reservoir
  int reservoirBytes = 0;
  int encoderDelay = 0;  // for the new LAME tag
  int padding = 0;
  int64_t samples = 0;
};

// Frames before the one holding a piece's first sample that the decoder
// needs to reach the same filterbank state as in the whole file: one for
// MPEG-1 (two granules per frame), two for MPEG-2 and 2.5 (one granule).
int prerollFrames(const MpegFrameHeader& header);

// The bytes of main-data area before frame `first` that frames `first` to
// `last` (inclusive) draw on: the furthest any of them reaches back.
int reservoirReach(const Mp3FrameSource& source, size_t first, size_t last);

// Throws AudioError naming the source for a range outside it or empty.
Mp3PiecePlan planMp3Piece(const Mp3FrameSource& source, int64_t firstSample, int64_t endSample);

// How the frames at a piece's edges are made.
enum class PieceEdges {
  // Encoded again from the decoded audio (see SeamlessPiece.h): decoders
  // that ignore the LAME header hear silence, never the neighbours, before
  // and after the piece; the frames in between are copied.
  Reencoded,
  // Copied too: every sample identical to the whole file's decode, the
  // neighbouring audio hidden only by the header's delay and padding.
  Copied,
};

// Writes the piece [firstSample, endSample) of `source` (in samples as a
// gapless decoder counts them) to `outputPath` by copying frames:
// `id3Tag` (an ID3v2 tag, may be empty) in front, then a fresh Xing/Info +
// LAME header frame whose encoder delay and padding make a gapless decoder
// give exactly the piece's samples. `fades` are encoded with the edges
// (copied edges take none). The output must not exist yet. Returns false
// when stopped; throws AudioError; leaves no output either way. The edges
// are encoded with `edgeEncoder` (a worker's own, kept across its pieces),
// or one set up for this piece when none is given; `written`, when given,
// receives the frames the encoded edges and the copied run took. When
// `tagWithEdgeAudio` is given, the tag is made by it in place of `id3Tag`,
// from the piece's edge audio (stored form, see EdgeAudio.h; empty when no
// edge was encoded), for the tag to carry.
using PieceTagMaker = std::function<QByteArray(const QByteArray& storedEdgeAudio)>;
bool writeMp3Piece(const Mp3FrameSource& source, int64_t firstSample, int64_t endSample,
                   const QString& outputPath, const QByteArray& id3Tag,
                   const std::atomic<bool>* stopFlag = nullptr,
                   PieceEdges edges = PieceEdges::Reencoded, const PieceFades& fades = {},
                   EdgeEncoder* edgeEncoder = nullptr, SeamlessPiecePlan* written = nullptr,
                   const PieceTagMaker& tagWithEdgeAudio = {});

// The same from a file name (the source is indexed for this one piece).
bool cutMp3Piece(const QString& sourcePath, int64_t firstSample, int64_t endSample,
                 const QString& outputPath, const QByteArray& id3Tag,
                 const std::atomic<bool>* stopFlag = nullptr);

// Empty when `sourcePath` can be cut by copying frames, else why not
// (naming the file), e.g. for a message that the job re-encodes instead.
QString losslessCutRefusal(const QString& sourcePath);

// The LAME fields a copy of `source` carries: its own, with the figures that
// describe the whole file (peak, replay gain) cleared; a plain set naming
// this library's LAME when the source has none.
LameTagDetails copiedLameTag(const Mp3FrameSource& source);

}  // namespace tarvex::mp3frames
