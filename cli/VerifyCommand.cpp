#include "cli/VerifyCommand.h"

#include <QDir>
#include <QFileInfo>
#include <exception>

#include "cli/CliEncoder.h"
#include "cli/CliRun.h"
#include "cli/CommandSources.h"
#include "cli/PlannedChecks.h"
#include "platform/ConfigLocation.h"
#include "platform/Error.h"
#include "processing/JobPlanning.h"
#include "processing/OutputNaming.h"

namespace tarvex::cli {

namespace {

QString absolute(const QString& path) {
  return path.isEmpty() ? path : QDir::cleanPath(QDir::current().absoluteFilePath(path));
}

int formatOfName(const QString& path) {
  const QString extension = QLatin1Char('.') + QFileInfo(path).suffix().toLower();
  for (int index : {kFormatMp3, kFormatWav, kFormatWma, kFormatOgg}) {
    if (OutputExtension(index) == extension) return index;
  }
  return kFormatMp3;
}

// The outputs to judge with what each should hold; empty with `status` set
// when the job cannot be planned or the outputs do not fit it.
std::vector<verify::PlannedOutput> plannedOutputs(const CliCommand& verifyCommand, QTextStream& err,
                                                  int& status) {
  // Sources and settings are those of the job itself.
  CliCommand command = verifyCommand;
  command.action = verifyCommand.verifiedJob;
  std::vector<verify::PlannedOutput> outputs;
  const bool join = command.verifiedJob == Action::Join;
  const int formatIndex =
      command.formatIndex.value_or(join ? formatOfName(command.outputFile) : kFormatMp3);
  const EncoderProfile profile = encoderProfileFor(command, formatIndex, settingsFilePath());
  QStringList failures;
  const std::vector<SourceRecord> sources = commandSources(command, failures);
  for (const QString& failure : failures) err << "tarvex-cli: " << failure << Qt::endl;
  if (!failures.isEmpty() || sources.empty()) {
    status = kExitFileFailed;
    return outputs;
  }
  const JobSettings settings = jobSettingsOf(command, QDir::currentPath() + QDir::separator());
  if (join) {
    const QString path = joinOutputPath(absolute(command.outputFile), OutputExtension(formatIndex));
    outputs.push_back(plannedJoin(planJoin(sources, settings, profile, path), path));
    return outputs;
  }
  const SplitPlan plan = planSplit(sources, settings, profile);
  if (plan.pieces.size() != static_cast<size_t>(command.verifyOutputs.size())) {
    err << "tarvex-cli: the plan has " << plan.pieces.size() << " pieces but "
        << command.verifyOutputs.size() << " outputs are given" << Qt::endl;
    status = kExitBadUsage;
    return outputs;
  }
  for (size_t index = 0; index < plan.pieces.size(); ++index) {
    outputs.push_back(plannedPiece(plan.pieces[index],
                                   absolute(command.verifyOutputs[static_cast<qsizetype>(index)])));
  }
  return outputs;
}

}  // namespace

int runVerify(CliCommand command, QTextStream& out, QTextStream& err) {
  for (QString& file : command.files) file = absolute(file);
  command.cueSheet = absolute(command.cueSheet);
  command.labelFile = absolute(command.labelFile);
  int status = kExitDone;
  std::vector<verify::PlannedOutput> outputs;
  try {
    outputs = plannedOutputs(command, err, status);
  } catch (const std::exception& error) {
    err << "tarvex-cli: " << userMessage(error) << Qt::endl;
    return kExitFileFailed;
  }
  if (status != kExitDone) return status;

  return printChecks(outputs, command.json, out, err);
}

}  // namespace tarvex::cli
