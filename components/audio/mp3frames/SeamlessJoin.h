#pragma once

#include "components/audio/mp3frames/Mp3FrameSource.h"
#include "components/audio/mp3frames/SeamlessPiece.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <cstdint>
#include <vector>

namespace tarvex::mp3frames {

// One part of a join: the samples [firstSample, endSample) of `source`, as a
// gapless decoder counts them.
struct JoinSpan {
  const Mp3FrameSource* source = nullptr;
  int64_t firstSample = 0;
  int64_t endSample = 0;
};

// Where one part lands in a seamless join.
struct SeamlessJoinPart {
  int64_t outputStart = 0;  // the output sample its first sample becomes
  int64_t overlap = 0;      // samples crossfaded with the part before
  size_t firstFrame = 0;    // its source frames copied, inclusive
  size_t lastFrame = 0;
  int64_t frameShift = 0;  // source frame j becomes output frame j + frameShift
};

// How parts of sources of one rate and channel count are joined into one
// stream of frames on one grid: each part's frames in the middle are copied
// bit for bit, only the frames at each seam (and at the output's edges and
// under its fades) are encoded again from the decoded audio.
//
// A copied frame can only land where its samples fall on the output's frame
// grid. Where the part before ends exactly where that puts the later part's
// first sample (pieces of one recording joined back in order), the seam is
// exact: the output decodes to the concatenation, sample for sample. Where it
// does not (files encoded on their own, marked ranges), moving the later part
// by a fraction of a frame would mean encoding all of it again; instead it
// starts that much (under one frame) earlier and its first samples are
// crossfaded linearly with the earlier part's last ones: no gap, no click,
// and the output is that many samples shorter than the concatenation.
struct SeamlessJoinPlan {
  std::vector<SeamlessJoinPart> parts;
  int64_t samples = 0;
  int64_t startPosition = 0;  // raw decoder position of the output's first sample
  bool silentFrame = false;   // the first source's start is copied behind a silent frame
  bool copiedStart = false;   // the first part starts at its source's start, copied
  bool copiedEnd = false;     // the last part ends at its source's end, copied
  int64_t frameCount = 0;     // audio frames in the output
  PieceFades fades;           // over the whole output
};

// Throws AudioError naming the file for a range outside its source, or a
// part too short to copy any frame of once its seams are encoded.
SeamlessJoinPlan planSeamlessJoin(const std::vector<JoinSpan>& parts, const PieceFades& fades = {});

// Writes `plan` of `parts` to `outputPath` (which must not exist yet) behind
// `id3Tag` and a fresh Xing/Info + LAME header frame. Returns false when
// stopped; throws AudioError naming the file at fault; leaves no output on
// either.
bool writeSeamlessJoin(const std::vector<JoinSpan>& parts, const SeamlessJoinPlan& plan,
                       const QString& outputPath, const QByteArray& id3Tag,
                       const std::atomic<bool>* stopFlag = nullptr);

}  // namespace tarvex::mp3frames
