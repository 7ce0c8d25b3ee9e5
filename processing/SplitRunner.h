#pragma once

#include <QString>
#include <cstdint>
#include <vector>

#include "processing/JobProgress.h"
#include "processing/JobServices.h"
#include "sources/SplitPlanning.h"

namespace tarvex {

struct SourceFrames;

inline const QString kStatusConverting = QStringLiteral("Converting");
inline const QString kStatusFinish = QStringLiteral("Finish");
inline const QString kStatusError = QStringLiteral("Error");

// The split job: cuts every source of the source list into the pieces its
// segment list plans and writes each as a file of its own into the output
// folder, with fades, progress, statuses and the source's tags.
class SplitRunner {
 public:
  explicit SplitRunner(JobServices services);

  // The Split command: nothing while a job runs or with no sources; stops the
  // preview, then runs the splitter of the function choice.
  JobOutcome Split();

  JobOutcome CustomAudioSplitter();
  JobOutcome TimeAudioSplitter();
  JobOutcome CountAudioSplitter();
  JobOutcome UnifiAudioSplitter();
  // The splitter of a function choice (0 to 3); other values run nothing.
  JobOutcome runFor(int functionChoice);

 private:
  enum class Mode { Custom, Time, Count, Unification };
  struct Piece {
    int row = 0;  // its row in the segment list
    int begin = 0;
    int end = 0;
    int number = 1;  // its place among the source's pieces, 1-based
    int count = 1;   // the source's pieces
  };

  JobOutcome runJob(Mode mode);
  void splitSource(Mode mode, int source, const std::vector<Segment>& sharedRows);
  void WritePiece(int source, const Piece& piece, const SourceFrames& frames);
  void pump();
  bool running() const;
  void fail(const QString& message);

  JobServices services_;
  JobProgress progress_;
  Mode mode_ = Mode::Time;
  bool roundUp_ = true;         // the rounding toggle of a block that holds no whole frames
  int64_t readerPosition_ = 0;  // the source frame the next block starts at
  int failedRow_ = -1;          // the row being cut, "Error" if the job fails there
  QString partialPath_;         // the piece being written, removed if the job fails
};

// The rows a marked-range job cuts: a lone pending range becomes "OK" and is
// cut; otherwise the pending last range is left out.
std::vector<Segment> withPendingRowFixed(std::vector<Segment> rows);

}  // namespace tarvex
