#pragma once

#include <QString>
#include <cstdint>

#include "components/audio/AudioFile2.h"
#include "components/audio/AudioTransform2.h"
#include "components/audio/Mp3LameEncoder.h"
#include "processing/JobControl.h"
#include "processing/JobPlan.h"
#include "processing/Mp3CopyChoice.h"
#include "processing/SourceFrames.h"
#include "processing/SourceShortfalls.h"

namespace tarvex {

// A join written as one stream: every part in order, converted by the reader
// to the output's rate and channels, into one file encoded once, with one
// fade-in over the first block and one fade-out over the end of the last part.
// With "MP3 (no re-encode)", whole MP3 files of one rate and channel count
// are joined by copying their frames instead; anything else is encoded as
// MP3, with a note to the user saying why.
class JoinStream {
 public:
  JoinStream(const JoinPlan& plan, bool removeCutOffOnStop, JobControl& control,
             JobReporter& reporter);

  // Errors are recorded in the job control; the output is then removed. A
  // part whose source ends before its length fails the job too, naming the
  // file and where it ended, but the output is kept.
  void run();

 private:
  enum class Ending { Whole, CutOff };

  void writeOutput();
  // "MP3 (no re-encode)": every part's frames copied into the output, only
  // the frames at each seam, edge and fade encoded again.
  void copyOutput(const CopiedJoin& join);
  void openSource(const JoinPart& part);
  Ending copyPart(int index, const JoinPart& part, bool lastOfOutput);
  void abandonOutput();
  // An MP3 output's chapters: one per part, from `starts` (output frames
  // where each part begins) to the next part's start or `endFrame`.
  void writeChapters(const QString& path, const std::vector<int64_t>& starts, int64_t endFrame,
                     int rate) const;

  const JoinPlan& plan_;
  const bool removeCutOffOnStop_;
  JobControl& control_;
  JobReporter& reporter_;

  AudioFile2 reader_;
  AudioFile2 writer_;
  Mp3LameEncoder encoder_;
  AudioTransform2 transform_;

  int outRate_ = 0;
  int outChannels_ = 0;
  int openSource_ = -1;  // the part's source the reader has open
  SourceFrames frames_;
  int64_t totalFrames_ = 0;    // planned source frames of the whole output
  int64_t writtenFrames_ = 0;  // of them accounted so far
  int64_t outputFrames_ = 0;   // frames written to the output, in its rate
  bool firstBlockWritten_ = false;
  int currentPart_ = -1;
  QString partialPath_;  // the output while it is written
  SourceShortfalls shortfalls_{QStringLiteral("part")};
};

}  // namespace tarvex
