#include "sources/cue/LabelFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cmath>

#include "sources/SampleSpan.h"
#include "sources/SpanMarks.h"
#include "sources/SplitPlanning.h"
#include "sources/cue/CueSheetError.h"
#include "sources/cue/CueSheetReader.h"

namespace tarvex {

namespace {

[[noreturn]] void failRead(const QString& path, const QString& reason) {
  throw CueSheetError(QStringLiteral("The label file \"%1\" cannot be read: %2.")
                          .arg(QDir::toNativeSeparators(path), reason));
}

[[noreturn]] void failWrite(const QString& path, const QString& reason) {
  throw CueSheetError(QStringLiteral("The label file \"%1\" cannot be written: %2.")
                          .arg(QDir::toNativeSeparators(path), reason));
}

// A time in seconds: a plain decimal number ('.' fraction), not negative.
bool parseSeconds(const QString& text, double& seconds) {
  bool ok = false;
  seconds = text.trimmed().toDouble(&ok);
  return ok && std::isfinite(seconds) && seconds >= 0;
}

}  // namespace

bool isLabelFile(const QString& path) {
  return QFileInfo(path).suffix().compare(QLatin1String("txt"), Qt::CaseInsensitive) == 0;
}

std::vector<LabelRange> parseLabels(const QByteArray& bytes, const QString& path) {
  if (bytes.size() > kMaxCueSheetBytes) failRead(path, QStringLiteral("it is too large"));
  if (bytes.contains('\0')) failRead(path, QStringLiteral("it is not text"));
  QString text = QString::fromUtf8(bytes);
  if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
  std::vector<LabelRange> labels;
  const QStringList lines = text.split(QLatin1Char('\n'));
  for (qsizetype index = 0; index < lines.size(); ++index) {
    QString line = lines[index];
    if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('\\'))) continue;
    const QStringList fields = line.split(QLatin1Char('\t'));
    LabelRange label;
    if (fields.size() < 2 || !parseSeconds(fields[0], label.start) ||
        !parseSeconds(fields[1], label.end)) {
      failRead(
          path,
          QStringLiteral("line %1 is not \"start<tab>end<tab>label\" in seconds").arg(index + 1));
    }
    if (label.end < label.start) {
      failRead(path, QStringLiteral("on line %1 the label ends before it starts").arg(index + 1));
    }
    label.label = fields.mid(2).join(QLatin1Char(' ')).trimmed();
    labels.push_back(std::move(label));
  }
  if (labels.empty()) failRead(path, QStringLiteral("it holds no label"));
  return labels;
}

std::vector<LabelRange> readLabelFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) failRead(path, file.errorString());
  if (file.size() > kMaxCueSheetBytes) failRead(path, QStringLiteral("it is too large"));
  return parseLabels(file.read(kMaxCueSheetBytes + 1), path);
}

QByteArray formatLabels(const std::vector<LabelRange>& labels) {
  QByteArray bytes;
  for (const LabelRange& label : labels) {
    QString text = label.label;
    text.replace(QLatin1Char('\t'), QLatin1Char(' '))
        .replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
    bytes += QByteArray::number(label.start, 'f', 6) + '\t' +
             QByteArray::number(label.end, 'f', 6) + '\t' + text.toUtf8() + '\n';
  }
  return bytes;
}

void writeLabelFile(const QString& path, const std::vector<LabelRange>& labels,
                    bool replaceExisting) {
  if (!replaceExisting && QFileInfo::exists(path))
    failWrite(path, QStringLiteral("it already exists"));
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) failWrite(path, file.errorString());
  const QByteArray bytes = formatLabels(labels);
  if (file.write(bytes) != bytes.size()) failWrite(path, file.errorString());
  if (!file.commit()) failWrite(path, file.errorString());
}

void markFromLabelFile(SourceRecord& record, const QString& labelPath) {
  std::vector<MarkedRange> marks;
  const double length =
      record.sampleRate > 0 ? static_cast<double>(record.frames) / record.sampleRate : 0;
  for (const LabelRange& label : readLabelFile(labelPath)) {
    if (!(label.end > label.start) || !(label.start < length)) continue;
    // An end at or past the audio's end (a whole second or not) runs to it.
    const SampleSpan span{sampleAtSeconds(label.start, record.sampleRate, record.frames),
                          sampleAtSeconds(label.end, record.sampleRate, record.frames)};
    if (span.frames() <= 0) continue;
    marks.push_back(confirmedMarkOf(span, record, label.label));
  }
  if (marks.empty()) {
    throw CueSheetError(
        QStringLiteral("The label file \"%1\" marks no stretch of \"%2\".")
            .arg(QDir::toNativeSeparators(labelPath), QFileInfo(record.path).fileName()));
  }
  record.replaceMarks(std::move(marks));
}

std::vector<LabelRange> labelsOfMarks(const SourceRecord& record) {
  std::vector<LabelRange> labels;
  const double rate = record.sampleRate > 0 ? record.sampleRate : 1;
  for (const Segment& cut : customRangesFor(record)) {
    const MarkedRange& mark = record.ranges[static_cast<size_t>(cut.row)];
    LabelRange label;
    label.label = mark.title;
    if (record.sampleRate > 0) {
      const SampleSpan span = markedSpan(mark, record, record);
      label.start = static_cast<double>(span.first) / rate;
      label.end = static_cast<double>(span.end) / rate;
    } else {
      label.start = mark.begin;
      label.end = mark.end;
    }
    labels.push_back(std::move(label));
  }
  return labels;
}

}  // namespace tarvex
