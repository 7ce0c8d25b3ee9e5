#include "cli/VerifyPrinting.h"

#include <QJsonArray>
#include <QJsonValue>

namespace tarvex::cli {

namespace {

QString offsetText(const std::optional<int64_t>& offset, bool silent) {
  if (silent) return QStringLiteral("silent, not aligned");
  if (!offset) return QStringLiteral("not found");
  return QString::number(*offset);
}

QJsonValue offsetJson(const std::optional<int64_t>& offset) {
  return offset ? QJsonValue(static_cast<qint64>(*offset)) : QJsonValue();
}

QString differenceText(const verify::PartCheck& part) {
  if (part.comparedSamples == 0) return QStringLiteral("none compared");
  return QStringLiteral("%1 over %2 samples")
      .arg(part.largestDifference, 0, 'g', 6)
      .arg(part.comparedSamples);
}

}  // namespace

QString outputCheckText(const verify::OutputCheck& check) {
  QString text = check.outputPath + (check.passed() ? QStringLiteral(": matches the plan\n")
                                                    : QStringLiteral(": does not match\n"));
  text += QStringLiteral("  length: %1 samples decoded, %2 planned\n")
              .arg(check.decodedLength)
              .arg(check.plannedLength);
  text += check.reencodedFrames ? QStringLiteral("  re-encoded frames: %1 of %2\n")
                                      .arg(*check.reencodedFrames)
                                      .arg(check.outputFrames)
                                : QStringLiteral("  re-encoded frames: not applicable (not MP3)\n");
  if (check.fadedStart > 0 || check.fadedEnd > 0)
    text += QStringLiteral("  under fades, not compared: the first %1 and the last %2 samples\n")
                .arg(check.fadedStart)
                .arg(check.fadedEnd);
  int number = 0;
  for (const verify::PartCheck& part : check.parts) {
    text += QStringLiteral("  part %1: %2, samples %3 to %4, at output sample %5\n")
                .arg(++number)
                .arg(part.plan.sourcePath)
                .arg(part.plan.firstSample)
                .arg(part.plan.endSample)
                .arg(part.outputStart);
    if (!part.notCompared.isEmpty()) {
      text += QStringLiteral("    not compared: %1\n").arg(part.notCompared);
      continue;
    }
    if (part.underFade) {
      text += QStringLiteral("    offset: not aligned, the whole part lies under a fade\n");
    } else {
      text += QStringLiteral("    offset: %1 at the start, %2 at the end\n")
                  .arg(offsetText(part.startOffset, part.startSilent),
                       offsetText(part.endOffset, part.endSilent));
    }
    text += QStringLiteral("    largest difference outside re-encoded frames: %1%2\n")
                .arg(differenceText(part),
                     check.differenceJudged ? QString() : QStringLiteral(" (lossy, not judged)"));
  }
  for (const verify::SeamCheck& seam : check.seams) {
    text += QStringLiteral("  seam at output sample %1: %2; step %3 (the audio's own %4)%5\n")
                .arg(seam.outputPosition)
                .arg(!seam.gap        ? QStringLiteral("gap not measured")
                     : *seam.gap == 0 ? QStringLiteral("no gap")
                     : *seam.gap > 0  ? QStringLiteral("gap of %1 samples").arg(*seam.gap)
                     : *seam.gap == -seam.plannedOverlap
                         ? QStringLiteral("crossfaded over %1 samples, as planned").arg(-*seam.gap)
                         : QStringLiteral("overlap of %1 samples").arg(-*seam.gap))
                .arg(seam.seamStep, 0, 'g', 4)
                .arg(seam.plannedStep, 0, 'g', 4)
                .arg(seam.click ? QStringLiteral(", a click") : QString());
  }
  for (const QString& problem : check.problems)
    text += QStringLiteral("  problem: ") + problem + QLatin1Char('\n');
  return text;
}

QJsonObject outputCheckJson(const verify::OutputCheck& check) {
  QJsonArray parts;
  for (const verify::PartCheck& part : check.parts) {
    QJsonObject object{{QStringLiteral("source"), part.plan.sourcePath},
                       {QStringLiteral("firstSample"), static_cast<qint64>(part.plan.firstSample)},
                       {QStringLiteral("endSample"), static_cast<qint64>(part.plan.endSample)},
                       {QStringLiteral("outputStart"), static_cast<qint64>(part.outputStart)}};
    if (!part.notCompared.isEmpty()) {
      object.insert(QStringLiteral("notCompared"), part.notCompared);
    } else {
      object.insert(QStringLiteral("startOffset"), offsetJson(part.startOffset));
      object.insert(QStringLiteral("endOffset"), offsetJson(part.endOffset));
      object.insert(QStringLiteral("startSilent"), part.startSilent);
      object.insert(QStringLiteral("endSilent"), part.endSilent);
      object.insert(QStringLiteral("underFade"), part.underFade);
      object.insert(QStringLiteral("largestDifference"), part.largestDifference);
      object.insert(QStringLiteral("comparedSamples"), static_cast<qint64>(part.comparedSamples));
    }
    parts.append(object);
  }
  QJsonArray seams;
  for (const verify::SeamCheck& seam : check.seams) {
    seams.append(
        QJsonObject{{QStringLiteral("outputSample"), static_cast<qint64>(seam.outputPosition)},
                    {QStringLiteral("gap"), offsetJson(seam.gap)},
                    {QStringLiteral("plannedOverlap"), static_cast<qint64>(seam.plannedOverlap)},
                    {QStringLiteral("seamStep"), seam.seamStep},
                    {QStringLiteral("plannedStep"), seam.plannedStep},
                    {QStringLiteral("click"), seam.click}});
  }
  return QJsonObject{{QStringLiteral("output"), check.outputPath},
                     {QStringLiteral("passed"), check.passed()},
                     {QStringLiteral("sampleRate"), check.sampleRate},
                     {QStringLiteral("channels"), check.channels},
                     {QStringLiteral("plannedLength"), static_cast<qint64>(check.plannedLength)},
                     {QStringLiteral("decodedLength"), static_cast<qint64>(check.decodedLength)},
                     {QStringLiteral("fadedStart"), static_cast<qint64>(check.fadedStart)},
                     {QStringLiteral("fadedEnd"), static_cast<qint64>(check.fadedEnd)},
                     {QStringLiteral("reencodedFrames"),
                      check.reencodedFrames ? QJsonValue(*check.reencodedFrames)
                                            : QJsonValue(QStringLiteral("not applicable"))},
                     {QStringLiteral("outputFrames"), check.outputFrames},
                     {QStringLiteral("differenceJudged"), check.differenceJudged},
                     {QStringLiteral("parts"), parts},
                     {QStringLiteral("seams"), seams},
                     {QStringLiteral("problems"), QJsonArray::fromStringList(check.problems)}};
}

}  // namespace tarvex::cli
