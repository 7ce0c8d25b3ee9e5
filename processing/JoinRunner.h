#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

#include "processing/JobProgress.h"
#include "processing/JobServices.h"

namespace tarvex {

struct SourceFrames;

inline const QString kJoinFilter = QStringLiteral("MP3 Files(*.mp3)");
inline const QString kJoinOverSourceMessage =
    QStringLiteral("The output file is one of the files to join. Choose another name.");
inline const QString kJoinNameTakenMessage =
    QStringLiteral("%1 already exists. Choose another name, or type the full name to replace it.");

// The file a join writes, as chosen in the save dialog.
struct JoinOutput {
  QString path;         // with the format's extension
  int formatIndex = 0;  // the dialog's filter index - 1
};

// The join job: writes the chosen audio of every source, in list order, into
// one file in the first source's sample rate and channel count, with one
// fade-in at its start and one fade-out at its end, and no tags.
class JoinRunner {
 public:
  explicit JoinRunner(JobServices services);

  // The Join command: nothing while a job runs; stops the preview, asks for
  // the output, runs the joiner of the function choice, and opens the output
  // folder after a run or a stop.
  JobOutcome Join();

  // Asks for the output file. Nothing when the source list is empty or the
  // dialog is cancelled; a name that is one of the sources, or that only
  // with the added extension names an existing file, is refused with a message.
  std::optional<JoinOutput> ChooseJoinOutput();

  JobOutcome CustomAudioJoiner(const JoinOutput& output);
  JobOutcome WholeAudioJoiner(const JoinOutput& output);
  JobOutcome UnifiAudoJoiner(const JoinOutput& output);
  // The joiner of a function choice: 0 Custom, 1 and 2 whole files, 3
  // Unification; other values run nothing.
  JobOutcome runFor(SplitFunction function, const JoinOutput& output);

 private:
  enum class Mode { Custom, Whole, Unification };
  // One range of one source, in whole seconds; `whole` runs to the data's end.
  struct Range {
    int row = 0;
    int begin = 0;
    int end = 0;
    bool whole = false;
  };

  JobOutcome runJob(Mode mode, const JoinOutput& output);
  std::vector<Range> rangesFor(Mode mode, int source) const;
  void showRows(Mode mode, int source);
  void copyRange(const Range& range, const SourceFrames& frames, bool lastOfOutput);
  void pump();
  bool running() const;
  void fail(const QString& message);

  JobServices services_;
  JobProgress progress_;
  int outChannels_ = 0;
  int64_t totalFrames_ = 0;
  int64_t writtenFrames_ = 0;
  bool firstBlockWritten_ = false;
  int failedRow_ = -1;
  QString partialPath_;  // the output while it is written; removed if the job fails
};

}  // namespace tarvex
