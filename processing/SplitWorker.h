#pragma once

#include <QString>
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "components/audio/AudioFile2.h"
#include "components/audio/AudioTransform2.h"
#include "components/audio/Mp3LameEncoder.h"
#include "components/audio/mp3frames/EdgeEncoder.h"
#include "processing/JobControl.h"
#include "processing/JobPlan.h"
#include "processing/SourceFrames.h"

namespace tarvex {

class Mp3CopySources;
class SourceShortfalls;
namespace mp3frames {
class Mp3FrameSource;
}

// One worker of a split: takes the next piece not yet taken and writes it,
// until none is left or the job halts. It has its own reader, writer and
// encoder settings; it keeps a source open across the pieces it takes from
// it, and seeks only when a piece does not start where its reading stands.
// The rounding of a block that holds no whole frames alternates within a
// piece and starts afresh with each, so a piece comes out the same whichever
// worker writes it and whatever ran before.
//
// With "MP3 (no re-encode)" (`copySources` given) a piece of an MP3 source
// is copied frame by frame, its tag in front from the start; the pieces
// `copySources` turns down are encoded as MP3.
//
// A source whose audio ends before its length gives its pieces what there
// is: a piece left with no audio is not written, and `shortfalls` hears of
// every piece that got less than it asked for.
class SplitWorker {
 public:
  SplitWorker(const SplitPlan& plan, bool removeCutOffOnStop, JobControl& control,
              JobReporter& reporter, Mp3CopySources* copySources = nullptr,
              SourceShortfalls* shortfalls = nullptr);

  void run(std::atomic<size_t>& nextPiece);

 private:
  // What became of a piece's output.
  enum class Ending { Whole, CutOff, SourceEnded };

  void writePiece(int index);
  void openSource(const PiecePlan& piece);
  // Copies the piece's frames; false when it is to be encoded instead.
  bool copyPiece(int index, const PiecePlan& piece);
  void writeCopy(int index, const PiecePlan& piece, const mp3frames::Mp3FrameSource& source,
                 int64_t firstSample, int64_t endSample);
  // Creates the piece's output file, empty, under the first name free.
  QString claimOutput(const PiecePlan& piece);
  QString createOutput(const PiecePlan& piece);
  // Reads and writes the piece's blocks; `doneFrames` tells how many it wrote.
  Ending copyBlocks(int index, const PiecePlan& piece, int64_t pieceFrames, int64_t& doneFrames);
  void settleCutOff(int index, const PiecePlan& piece, const QString& path);
  // A piece that got no audio at all: nothing is left of it.
  void dropWithoutAudio(int index, const PiecePlan& piece, int64_t endedAt, int sampleRate);
  void abandonOutput();

  const SplitPlan& plan_;
  const bool removeCutOffOnStop_;
  JobControl& control_;
  JobReporter& reporter_;
  Mp3CopySources* const copySources_;
  SourceShortfalls* const shortfalls_;
  const QString extension_;

  AudioFile2 reader_;
  AudioFile2 writer_;
  Mp3LameEncoder encoder_;
  mp3frames::EdgeEncoder edgeEncoder_;  // the frames at copied pieces' cuts
  AudioTransform2 transform_;

  QString openPath_;            // the source the reader has open
  SourceFrames frames_;         // its length and format
  int64_t readerPosition_ = 0;  // the source frame the next block starts at; -1 unknown
  QString partialPath_;         // the output being written, removed if the job fails
};

}  // namespace tarvex
