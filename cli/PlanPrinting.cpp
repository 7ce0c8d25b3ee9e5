#include "cli/PlanPrinting.h"

#include <QJsonArray>

namespace tarvex::cli {

namespace {

QString spanText(const QString& source, int64_t first, int64_t end) {
  return QStringLiteral("  from %1, samples %2 to %3 (%4 samples)\n")
      .arg(source)
      .arg(first)
      .arg(end)
      .arg(end - first);
}

QJsonObject spanJson(const QString& source, int64_t first, int64_t end) {
  return QJsonObject{{QStringLiteral("source"), source},
                     {QStringLiteral("firstSample"), static_cast<qint64>(first)},
                     {QStringLiteral("endSample"), static_cast<qint64>(end)}};
}

}  // namespace

QString splitPlanText(const SplitPlan& plan) {
  QString text;
  for (const PiecePlan& piece : plan.pieces) {
    text += piece.outputPath + QLatin1Char('\n');
    text += spanText(piece.sourcePath, piece.firstFrame, piece.endFrame);
  }
  return text;
}

QJsonObject splitPlanJson(const SplitPlan& plan) {
  QJsonArray outputs;
  for (const PiecePlan& piece : plan.pieces) {
    QJsonObject output = spanJson(piece.sourcePath, piece.firstFrame, piece.endFrame);
    output.insert(QStringLiteral("output"), piece.outputPath);
    output.insert(QStringLiteral("track"), piece.tags.track);
    output.insert(QStringLiteral("title"), piece.tags.title);
    output.insert(QStringLiteral("fadeInSeconds"), piece.fadeInSeconds);
    output.insert(QStringLiteral("fadeOutSeconds"), piece.fadeOutSeconds);
    outputs.append(output);
  }
  return QJsonObject{{QStringLiteral("outputs"), outputs}};
}

QString joinPlanText(const JoinPlan& plan) {
  QString text = plan.outputPath + QLatin1Char('\n');
  for (const JoinPart& part : plan.parts) {
    text += spanText(part.sourcePath, part.firstFrame, part.endFrame);
  }
  return text;
}

QJsonObject joinPlanJson(const JoinPlan& plan) {
  QJsonArray parts;
  for (const JoinPart& part : plan.parts) {
    parts.append(spanJson(part.sourcePath, part.firstFrame, part.endFrame));
  }
  QJsonObject output{{QStringLiteral("output"), plan.outputPath},
                     {QStringLiteral("parts"), parts},
                     {QStringLiteral("fadeInSeconds"), plan.fadeInSeconds},
                     {QStringLiteral("fadeOutSeconds"), plan.fadeOutSeconds}};
  return QJsonObject{{QStringLiteral("outputs"), QJsonArray{output}}};
}

}  // namespace tarvex::cli
