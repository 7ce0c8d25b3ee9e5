#pragma once

#include <QString>
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "components/audio/AudioFile2.h"
#include "components/audio/AudioTransform2.h"
#include "components/audio/Mp3LameEncoder.h"
#include "processing/JobControl.h"
#include "processing/JobPlan.h"
#include "processing/SourceFrames.h"

namespace tarvex {

// One worker of a split: takes the next piece not yet taken and writes it,
// until none is left or the job halts. It has its own reader, writer and
// encoder settings; it keeps a source open across the pieces it takes from
// it, and seeks only when a piece does not start where its reading stands.
// The rounding of a block that holds no whole frames alternates within a
// piece and starts afresh with each, so a piece comes out the same whichever
// worker writes it and whatever ran before.
class SplitWorker {
 public:
  SplitWorker(const SplitPlan& plan, bool removeCutOffOnStop, JobControl& control,
              JobReporter& reporter);

  void run(std::atomic<size_t>& nextPiece);

 private:
  // What became of a piece's output.
  enum class Ending { Whole, CutOff };

  void writePiece(int index);
  void openSource(const PiecePlan& piece);
  QString createOutput(const PiecePlan& piece);
  Ending copyBlocks(int index, const PiecePlan& piece, int64_t pieceFrames);
  void settleCutOff(int index, const PiecePlan& piece, const QString& path);
  void abandonOutput();

  const SplitPlan& plan_;
  const bool removeCutOffOnStop_;
  JobControl& control_;
  JobReporter& reporter_;
  const QString extension_;

  AudioFile2 reader_;
  AudioFile2 writer_;
  Mp3LameEncoder encoder_;
  AudioTransform2 transform_;

  QString openPath_;            // the source the reader has open
  SourceFrames frames_;         // its length and format
  int64_t readerPosition_ = 0;  // the source frame the next block starts at; -1 unknown
  QString partialPath_;         // the output being written, removed if the job fails
};

}  // namespace tarvex
