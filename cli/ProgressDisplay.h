#pragma once

#include <QHash>
#include <QString>
#include <QTextStream>
#include <cstdint>

namespace tarvex::cli {

// Progress on stderr: on a terminal one bar for the whole job, redrawn in
// place; otherwise a plain line when an output starts and when it ends, so
// logs stay readable. Outputs may be written side by side. Every line names
// its output file. A join reports each of its `reports` parts but writes
// one output: its lines count outputs, never parts, and its output is done
// when its last part is.
class ProgressDisplay {
 public:
  ProgressDisplay(QTextStream& err, bool terminal, bool quiet, int outputs, int64_t totalFrames,
                  int reports = 0);

  void started(int index, const QString& outputPath);
  // Frames of output `index` done so far.
  void progress(int index, int64_t done);
  // `outputPath` may be empty (a removed output): the line names the file
  // the output was started as.
  void finished(int index, const QString& outputPath, const QString& outcome);
  // Ends a bar line before a message is written under it.
  void breakLine();

 private:
  void drawBar();
  bool joins() const { return reports_ > outputs_ && outputs_ == 1; }
  // "[2/5]": the output's place among the job's outputs.
  QString label(int index) const;

  QTextStream& err_;
  bool terminal_;
  bool quiet_;
  int outputs_;
  int reports_;
  int64_t totalFrames_;
  QHash<int, int64_t> doneByOutput_;
  QHash<int, QString> pathByIndex_;
  int64_t doneFrames_ = 0;
  int outputsEnded_ = 0;
  int lastPercent_ = -1;
  bool barShown_ = false;
};

}  // namespace tarvex::cli
