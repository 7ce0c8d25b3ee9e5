#include "cli/JobCommands.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QJsonDocument>
#include <QTimer>
#include <csignal>
#include <exception>

#include <unistd.h>

#include "cli/CliEncoder.h"
#include "cli/CliFailure.h"
#include "cli/CliRun.h"
#include "cli/CommandSources.h"
#include "cli/PlanPrinting.h"
#include "cli/PlannedChecks.h"
#include "cli/ProgressDisplay.h"
#include "platform/ConfigLocation.h"
#include "platform/Error.h"
#include "processing/JobExecutor.h"
#include "processing/OutputNaming.h"

namespace tarvex::cli {

namespace {

constexpr int kExitInterrupted = 130;  // 128 + SIGINT, as shells report it

// Set by the Ctrl-C handler, read by a timer on the main thread: a signal
// handler can do nothing else safely.
volatile std::sig_atomic_t interruptRequested = 0;

extern "C" void onInterrupt(int) {
  interruptRequested = 1;
}

// Catches Ctrl-C (and a polite kill) for the life of one job.
class InterruptGuard {
 public:
  InterruptGuard() {
    interruptRequested = 0;
    struct sigaction action = {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &previousInt_);
    sigaction(SIGTERM, &action, &previousTerm_);
  }
  ~InterruptGuard() {
    sigaction(SIGINT, &previousInt_, nullptr);
    sigaction(SIGTERM, &previousTerm_, nullptr);
  }
  InterruptGuard(const InterruptGuard&) = delete;
  InterruptGuard& operator=(const InterruptGuard&) = delete;

 private:
  struct sigaction previousInt_ = {};
  struct sigaction previousTerm_ = {};
};

QString folderWithSeparator(const QString& folder) {
  QString native = QDir::toNativeSeparators(QDir::cleanPath(folder));
  if (!native.endsWith(QDir::separator())) native += QDir::separator();
  return native;
}

// The folder outputs go into, made with its parents where missing.
void makeFolder(const QString& folder) {
  const QFileInfo info(folder);
  if (info.exists() && !info.isDir()) {
    throw CliFailure(QStringLiteral("Cannot write into %1: not a folder").arg(folder));
  }
  if (!info.exists() && !QDir().mkpath(folder)) {
    throw CliFailure(
        QStringLiteral("Cannot create the folder %1: %2")
            .arg(folder, QStringLiteral("permission denied or not a folder above it")));
  }
}

void printPlan(const QString& text, const QJsonObject& json, bool asJson, QTextStream& out) {
  if (asJson) {
    out << QJsonDocument(json).toJson(QJsonDocument::Indented);
  } else {
    out << text;
  }
  out.flush();
}

int formatFromExtension(const QString& path) {
  const QString extension = QFileInfo(path).suffix().toLower();
  for (int index : {kFormatMp3, kFormatWav, kFormatWma, kFormatOgg}) {
    if (OutputExtension(index) == QLatin1Char('.') + extension) return index;
  }
  return kFormatMp3;
}

QString outcomeText(JobExecutor::PieceOutcome outcome) {
  switch (outcome) {
    case JobExecutor::PieceOutcome::Finished:
      return QStringLiteral("done");
    case JobExecutor::PieceOutcome::Stopped:
      return QStringLiteral("stopped");
    case JobExecutor::PieceOutcome::Removed:
      return QStringLiteral("cut off, removed");
  }
  return {};
}

// Runs one plan on the executor until it ends; returns the exit status.
// `written` gets the path of each output finished whole, by its index.
template <typename Plan>
int execute(Plan plan, int outputs, int64_t totalFrames, bool quiet, QTextStream& err,
            std::vector<QString>& written, int reports = 0) {
  written.assign(static_cast<size_t>(outputs), QString());
  JobExecutor executor;
  ProgressDisplay display(err, ::isatty(STDERR_FILENO) == 1, quiet, outputs, totalFrames, reports);
  QEventLoop loop;
  int status = kExitDone;
  QObject::connect(&executor, &JobExecutor::pieceStarted, &loop,
                   [&display](int piece, const QString& path) { display.started(piece, path); });
  QObject::connect(&executor, &JobExecutor::pieceProgress, &loop,
                   [&display](int piece, qint64 done, qint64) { display.progress(piece, done); });
  QObject::connect(
      &executor, &JobExecutor::pieceFinished, &loop,
      [&display, &written](int piece, JobExecutor::PieceOutcome outcome, const QString& path) {
        display.finished(piece, path, outcomeText(outcome));
        const auto index = static_cast<size_t>(piece);
        if (outcome == JobExecutor::PieceOutcome::Finished && index < written.size())
          written[index] = path;
      });
  QObject::connect(&executor, &JobExecutor::jobNote, &loop, [&display, &err](const QString& note) {
    display.breakLine();
    err << "tarvex-cli: " << note << Qt::endl;
  });
  QObject::connect(&executor, &JobExecutor::jobFailed, &loop,
                   [&display, &err, &status](const QString& message, int) {
                     display.breakLine();
                     err << "tarvex-cli: " << message << Qt::endl;
                     status = kExitFileFailed;
                   });
  QObject::connect(&executor, &JobExecutor::jobFinished, &loop,
                   [&loop, &status, &display, &err](JobExecutor::JobResult result) {
                     display.breakLine();
                     if (result == JobExecutor::JobResult::Stopped) {
                       err << "tarvex-cli: stopped; the output cut off was removed" << Qt::endl;
                       status = kExitInterrupted;
                     } else if (result == JobExecutor::JobResult::Failed) {
                       status = kExitFileFailed;
                     }
                     loop.quit();
                   });

  InterruptGuard guard;
  QTimer interruptWatch;
  QObject::connect(&interruptWatch, &QTimer::timeout, &loop, [&executor] {
    if (interruptRequested != 0) executor.stop();
  });
  interruptWatch.start(50);

  JobExecutor::Options options;
  options.removeCutOffOnStop = true;
  if (!executor.start(std::move(plan), options)) {
    throw CliFailure(QStringLiteral("the job could not start"));
  }
  loop.exec();
  return status;
}

}  // namespace

int runJob(CliCommand command, QTextStream& out, QTextStream& err) {
  for (QString& file : command.files) {
    file = QDir::cleanPath(QDir::current().absoluteFilePath(file));
  }
  if (!command.cueSheet.isEmpty()) {
    command.cueSheet = QDir::cleanPath(QDir::current().absoluteFilePath(command.cueSheet));
  }
  if (!command.labelFile.isEmpty()) {
    command.labelFile = QDir::cleanPath(QDir::current().absoluteFilePath(command.labelFile));
  }
  int status = kExitDone;
  try {
    const bool join = command.action == Action::Join;
    QString joinPath;
    int formatIndex = command.formatIndex.value_or(kFormatMp3);
    QString outputFolder;
    if (join) {
      const QString typed = QDir::current().absoluteFilePath(command.outputFile);
      if (!command.formatIndex) formatIndex = formatFromExtension(typed);
      joinPath = QDir::toNativeSeparators(joinOutputPath(typed, OutputExtension(formatIndex)));
      if (pathTaken(joinPath)) {
        throw CliFailure(
            QStringLiteral("Cannot write %1: the file exists (it is never written over)")
                .arg(joinPath));
      }
      outputFolder = QFileInfo(joinPath).absolutePath();
    } else {
      outputFolder = command.outputFolder.isEmpty()
                         ? QDir::currentPath()
                         : QDir::current().absoluteFilePath(command.outputFolder);
    }
    const EncoderProfile profile = encoderProfileFor(command, formatIndex, settingsFilePath());

    QStringList failures;
    const std::vector<SourceRecord> sources = commandSources(command, failures);
    for (const QString& failure : failures) err << "tarvex-cli: " << failure << Qt::endl;
    if (!failures.isEmpty()) status = kExitFileFailed;
    // A join with a part missing would be a wrong file: nothing is written.
    if (join && status != kExitDone) return status;
    if (sources.empty()) return kExitFileFailed;
    const JobSettings settings = jobSettingsOf(command, folderWithSeparator(outputFolder));

    if (join) {
      JoinPlan plan = planJoin(sources, settings, profile, joinPath);
      if (command.dryRun) {
        printPlan(joinPlanText(plan), joinPlanJson(plan), command.json, out);
        return status;
      }
      makeFolder(outputFolder);
      int64_t frames = 0;
      for (const JoinPart& part : plan.parts) frames += part.endFrame - part.firstFrame;
      const int parts = static_cast<int>(plan.parts.size());
      std::vector<QString> written;
      const JoinPlan run = plan;
      const int jobStatus = execute(std::move(plan), 1, frames, command.quiet, err, written, parts);
      if (!command.verifyAfter || jobStatus == kExitInterrupted || written.front().isEmpty())
        return jobStatus;
      const int verified = printChecks({plannedJoin(run, written.front())}, command.json, out, err);
      return jobStatus != kExitDone ? jobStatus : verified;
    }
    SplitPlan plan = planSplit(sources, settings, profile);
    for (int index = 0; index < static_cast<int>(sources.size()); ++index) {
      const bool hasPiece =
          std::any_of(plan.pieces.begin(), plan.pieces.end(),
                      [index](const PiecePlan& piece) { return piece.source == index; });
      if (!hasPiece) {
        err << "tarvex-cli: " << sources[static_cast<std::size_t>(index)].path
            << ": no range lies within its length" << Qt::endl;
        status = kExitFileFailed;
      }
    }
    if (command.dryRun) {
      printPlan(splitPlanText(plan), splitPlanJson(plan), command.json, out);
      return status;
    }
    if (plan.pieces.empty()) return status;
    makeFolder(outputFolder);
    int64_t frames = 0;
    for (const PiecePlan& piece : plan.pieces)
      frames += std::max<int64_t>(0, piece.endFrame - piece.firstFrame);
    const int outputs = static_cast<int>(plan.pieces.size());
    std::vector<QString> written;
    const SplitPlan run = plan;
    const int jobStatus = execute(std::move(plan), outputs, frames, command.quiet, err, written);
    if (jobStatus != kExitDone) status = jobStatus;
    if (command.verifyAfter && jobStatus != kExitInterrupted) {
      // The pieces written whole are judged; one that failed was reported.
      std::vector<verify::PlannedOutput> checks;
      for (size_t index = 0; index < written.size(); ++index)
        if (!written[index].isEmpty())
          checks.push_back(plannedPiece(run.pieces[index], written[index]));
      if (printChecks(checks, command.json, out, err) != kExitDone && status == kExitDone)
        status = kExitFileFailed;
    }
    return status;
  } catch (const std::exception& error) {
    err << "tarvex-cli: " << userMessage(error) << Qt::endl;
    return kExitFileFailed;
  }
}

}  // namespace tarvex::cli
