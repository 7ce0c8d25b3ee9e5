#include "cli/VerifyCommand.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <exception>

#include "cli/CliEncoder.h"
#include "cli/CliRun.h"
#include "cli/CommandSources.h"
#include "cli/VerifyPrinting.h"
#include "platform/ConfigLocation.h"
#include "platform/Error.h"
#include "processing/JobPlanning.h"
#include "processing/OutputNaming.h"
#include "processing/verify/OutputVerifier.h"

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

verify::PlannedPart partOf(const QString& source, int64_t first, int64_t end) {
  return verify::PlannedPart{source, first, end};
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
    const JoinPlan plan = planJoin(sources, settings, profile, path);
    verify::PlannedOutput output{path, {}};
    for (const JoinPart& part : plan.parts) {
      output.parts.push_back(partOf(part.sourcePath, part.firstFrame, part.endFrame));
    }
    outputs.push_back(output);
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
    const PiecePlan& piece = plan.pieces[index];
    outputs.push_back(
        verify::PlannedOutput{absolute(command.verifyOutputs[static_cast<qsizetype>(index)]),
                              {partOf(piece.sourcePath, piece.firstFrame, piece.endFrame)}});
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

  QJsonArray reports;
  for (const verify::PlannedOutput& output : outputs) {
    try {
      const verify::OutputCheck check = verify::verifyOutput(output);
      if (!check.passed()) status = kExitFileFailed;
      if (command.json) {
        reports.append(outputCheckJson(check));
      } else {
        out << outputCheckText(check);
      }
    } catch (const std::exception& error) {
      status = kExitFileFailed;
      err << "tarvex-cli: " << userMessage(error) << Qt::endl;
      if (command.json) {
        reports.append(QJsonObject{{QStringLiteral("output"), output.outputPath},
                                   {QStringLiteral("passed"), false},
                                   {QStringLiteral("error"), userMessage(error)}});
      }
    }
  }
  if (command.json) {
    out << QJsonDocument(QJsonObject{{QStringLiteral("outputs"), reports},
                                     {QStringLiteral("passed"), status == kExitDone}})
               .toJson(QJsonDocument::Indented);
  }
  out.flush();
  return status;
}

}  // namespace tarvex::cli
