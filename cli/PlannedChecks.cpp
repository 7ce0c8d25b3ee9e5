#include "cli/PlannedChecks.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <exception>

#include "cli/CliRun.h"
#include "cli/VerifyPrinting.h"
#include "platform/Error.h"
#include "processing/verify/OutputVerifier.h"

namespace tarvex::cli {

verify::PlannedOutput plannedPiece(const PiecePlan& piece, const QString& path) {
  verify::PlannedOutput output;
  output.outputPath = path;
  output.parts.push_back({piece.sourcePath, piece.firstFrame, piece.endFrame});
  output.fadeInSeconds = piece.fadeInSeconds;
  output.fadeOutSeconds = piece.fadeOutSeconds;
  return output;
}

verify::PlannedOutput plannedJoin(const JoinPlan& plan, const QString& path) {
  verify::PlannedOutput output;
  output.outputPath = path;
  for (const JoinPart& part : plan.parts)
    output.parts.push_back({part.sourcePath, part.firstFrame, part.endFrame});
  output.fadeInSeconds = plan.fadeInSeconds;
  output.fadeOutSeconds = plan.fadeOutSeconds;
  return output;
}

int printChecks(const std::vector<verify::PlannedOutput>& outputs, bool json, QTextStream& out,
                QTextStream& err) {
  int status = kExitDone;
  QJsonArray reports;
  for (const verify::PlannedOutput& output : outputs) {
    try {
      const verify::OutputCheck check = verify::verifyOutput(output);
      if (!check.passed()) status = kExitFileFailed;
      if (json) {
        reports.append(outputCheckJson(check));
      } else {
        out << outputCheckText(check);
      }
    } catch (const std::exception& error) {
      status = kExitFileFailed;
      err << "tarvex-cli: " << userMessage(error) << Qt::endl;
      if (json) {
        reports.append(QJsonObject{{QStringLiteral("output"), output.outputPath},
                                   {QStringLiteral("passed"), false},
                                   {QStringLiteral("error"), userMessage(error)}});
      }
    }
  }
  if (json) {
    out << QJsonDocument(QJsonObject{{QStringLiteral("outputs"), reports},
                                     {QStringLiteral("passed"), status == kExitDone}})
               .toJson(QJsonDocument::Indented);
  }
  out.flush();
  return status;
}

}  // namespace tarvex::cli
