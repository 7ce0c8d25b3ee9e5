#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "processing/JobExecutor.h"
#include "processing/JobPlan.h"

namespace tarvex::testing {

// A source as a planner sees it: its frames and length through our reader.
struct ProbedSource {
  QString path;
  int64_t samples = 0;
  int64_t durationMs = 0;
  int sampleRate = 0;
  int channels = 0;
};
ProbedSource probeSource(const QString& path);

// Source frames of whole second `seconds`, mapped as the planner maps them
// (an end at or past the whole-second length is the last frame).
int64_t beginFrameOf(const ProbedSource& source, int seconds);
int64_t endFrameOf(const ProbedSource& source, int seconds);

// A piece from `begin` to `end` seconds of `source`, named stem_<row + 1> in
// `folder` (ending with "/") with the profile's extension.
PiecePlan plannedPiece(const ProbedSource& source, int sourceIndex, int row, int begin, int end,
                       const QString& folder, const QString& stem, int formatIndex);

// Output profiles: 16-bit 44.1 kHz stereo WAV, the default MP3 profile, and
// MP3 (no re-encode) with the default MP3 profile behind it.
EncoderProfile wavProfile();
EncoderProfile mp3Profile();
EncoderProfile mp3CopyProfile();

// What a job reported, in the order it was reported.
struct JobRecord {
  std::vector<int> started;             // piece indexes, in order
  std::map<int, QString> startedPaths;  // piece -> path it reported when started
  std::map<int, JobExecutor::PieceOutcome> outcomes;
  std::map<int, QString> finishedPaths;
  std::map<int, int> progressReports;  // piece -> how many
  bool progressWithinBounds = true;    // 0 <= done <= total every time
  int jobFailedCount = 0;
  QString failureMessage;
  int failedPiece = -2;
  QStringList notes;               // jobNote signals, in order
  int finishedCount = 0;           // jobFinished signals
  bool reportAfterFinish = false;  // any report after jobFinished
  JobExecutor::JobResult result = JobExecutor::JobResult::Completed;
};

// Runs a plan to its end through the event loop and records its reports.
// `onProgress` runs on the test's thread at each progress report.
using ProgressHook = std::function<void(JobExecutor&, int piece, qint64 done, qint64 total)>;
JobRecord runJob(const SplitPlan& plan, JobExecutor::Options options, ProgressHook onProgress = {});
JobRecord runJob(const JoinPlan& plan, JobExecutor::Options options, ProgressHook onProgress = {});

// Frames a file decodes to through ffmpeg (an outside reader), at its own
// rate; -1 when ffmpeg cannot decode it.
int64_t outsideFrames(const QString& path);
// Sample rate and channels as ffprobe reports them.
struct OutsideFormat {
  int sampleRate = 0;
  int channels = 0;
};
OutsideFormat outsideFormat(const QString& path);

// The file names in `folder`, sorted.
QStringList filesIn(const QString& folder);

}  // namespace tarvex::testing
