#include "tests/executor/ExecutorHarness.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include "components/audio/AudioFile2.h"
#include "processing/OutputNaming.h"
#include "processing/SourceFrames.h"

namespace tarvex::testing {

ProbedSource probeSource(const QString& path) {
  AudioFile2 reader;
  reader.OpenRead(path);
  ProbedSource source;
  source.path = path;
  source.samples = reader.Samples();
  source.durationMs = reader.Duration();
  source.sampleRate = reader.SampleRate();
  source.channels = reader.Channels();
  return source;
}

namespace {

SourceFrames framesOf(const ProbedSource& source) {
  SourceFrames frames;
  frames.samples = source.samples;
  frames.durationMs = source.durationMs;
  frames.sampleRate = source.sampleRate;
  frames.channels = source.channels;
  return frames;
}

template <typename Plan>
JobRecord runPlan(const Plan& plan, JobExecutor::Options options, const ProgressHook& onProgress) {
  JobExecutor executor;
  JobRecord record;
  QEventLoop loop;
  QObject::connect(&executor, &JobExecutor::pieceStarted, [&](int piece, const QString& path) {
    if (record.finishedCount > 0) record.reportAfterFinish = true;
    record.started.push_back(piece);
    record.startedPaths[piece] = path;
  });
  QObject::connect(&executor, &JobExecutor::pieceProgress,
                   [&](int piece, qint64 done, qint64 total) {
                     if (record.finishedCount > 0) record.reportAfterFinish = true;
                     ++record.progressReports[piece];
                     if (done < 0 || done > total) record.progressWithinBounds = false;
                     if (onProgress) onProgress(executor, piece, done, total);
                   });
  QObject::connect(&executor, &JobExecutor::pieceFinished,
                   [&](int piece, JobExecutor::PieceOutcome outcome, const QString& path) {
                     if (record.finishedCount > 0) record.reportAfterFinish = true;
                     record.outcomes[piece] = outcome;
                     record.finishedPaths[piece] = path;
                   });
  QObject::connect(&executor, &JobExecutor::jobNote, [&](const QString& note) {
    if (record.finishedCount > 0) record.reportAfterFinish = true;
    record.notes << note;
  });
  QObject::connect(&executor, &JobExecutor::jobFailed, [&](const QString& message, int piece) {
    ++record.jobFailedCount;
    record.failureMessage = message;
    record.failedPiece = piece;
  });
  QObject::connect(&executor, &JobExecutor::jobFinished, [&](JobExecutor::JobResult result) {
    ++record.finishedCount;
    record.result = result;
    loop.quit();
  });
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, &loop, [&loop] {
    ADD_FAILURE() << "the job did not finish within two minutes";
    loop.quit();
  });
  guard.start(120000);
  EXPECT_TRUE(executor.start(plan, options));
  EXPECT_TRUE(executor.isRunning());
  loop.exec();
  EXPECT_FALSE(executor.isRunning());
  // Reports that might still be queued would arrive now.
  QCoreApplication::sendPostedEvents();
  return record;
}

}  // namespace

int64_t beginFrameOf(const ProbedSource& source, int seconds) {
  return framesOf(source).beginFrame(seconds);
}

int64_t endFrameOf(const ProbedSource& source, int seconds) {
  return framesOf(source).endFrame(seconds);
}

PiecePlan plannedPiece(const ProbedSource& source, int sourceIndex, int row, int begin, int end,
                       const QString& folder, const QString& stem, int formatIndex) {
  const QString extension = OutputExtension(formatIndex);
  PiecePlan piece;
  piece.source = sourceIndex;
  piece.row = row;
  piece.sourcePath = source.path;
  piece.firstFrame = beginFrameOf(source, begin);
  piece.endFrame = endFrameOf(source, end);
  piece.nameStem = stem;
  piece.outputPath = numberedOutputName(stem, row + 1, folder, extension);
  piece.fallbackPath = fallbackOutputName(source.path, folder, extension);
  piece.tags.title = QStringLiteral("Piece %1").arg(row + 1);
  piece.tags.artist = QStringLiteral("Tester");
  return piece;
}

EncoderProfile wavProfile() {
  EncoderProfile profile;
  profile.formatIndex = kFormatWav;
  profile.wavMode = 0;
  profile.sampleRateHz = 44100;
  profile.channels = 2;
  profile.bitsPerSample = 16;
  return profile;
}

EncoderProfile mp3Profile() {
  EncoderProfile profile;
  profile.formatIndex = kFormatMp3;
  return profile;
}

EncoderProfile mp3CopyProfile() {
  EncoderProfile profile;
  profile.formatIndex = kFormatMp3Copy;
  return profile;
}

JobRecord runJob(const SplitPlan& plan, JobExecutor::Options options, ProgressHook onProgress) {
  return runPlan(plan, options, onProgress);
}

JobRecord runJob(const JoinPlan& plan, JobExecutor::Options options, ProgressHook onProgress) {
  return runPlan(plan, options, onProgress);
}

int64_t outsideFrames(const QString& path) {
  QProcess ffmpeg;
  ffmpeg.start(QStringLiteral("ffmpeg"), {"-nostdin", "-loglevel", "error", "-i", path, "-f",
                                          "s16le", "-acodec", "pcm_s16le", "-ac", "1", "-"});
  if (!ffmpeg.waitForFinished(60000) || ffmpeg.exitCode() != 0) return -1;
  return ffmpeg.readAllStandardOutput().size() / 2;
}

OutsideFormat outsideFormat(const QString& path) {
  QProcess ffprobe;
  ffprobe.start(QStringLiteral("ffprobe"),
                {"-v", "error", "-select_streams", "a:0", "-show_entries",
                 "stream=sample_rate,channels", "-of", "csv=p=0", path});
  ffprobe.waitForFinished(30000);
  const QStringList fields =
      QString::fromLatin1(ffprobe.readAllStandardOutput()).trimmed().split(QLatin1Char(','));
  return {fields.value(0).toInt(), fields.value(1).toInt()};
}

QStringList filesIn(const QString& folder) {
  QStringList names = QDir(folder).entryList(QDir::Files | QDir::System | QDir::Hidden);
  names.sort();
  return names;
}

}  // namespace tarvex::testing
