#include "OutsideDecoders.h"

#include <QProcess>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tarvex::testing {

namespace {

OutsideDecode run(const QString& program, const QStringList& arguments, int channels,
                  const QRegularExpression& trouble) {
  OutsideDecode decode;
  decode.channels = channels;
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(60000)) return decode;
  decode.ran = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
  const QByteArray bytes = process.readAllStandardOutput();
  decode.samples.resize(static_cast<size_t>(bytes.size()) / sizeof(float));
  std::memcpy(decode.samples.data(), bytes.constData(), decode.samples.size() * sizeof(float));
  // mpg123 rewrites its progress line with carriage returns.
  const QString errors = QString::fromLocal8Bit(process.readAllStandardError());
  for (const QString& line :
       errors.split(QRegularExpression(QStringLiteral("[\r\n]")), Qt::SkipEmptyParts))
    if (trouble.match(line).hasMatch()) decode.warnings << line;
  return decode;
}

}  // namespace

OutsideDecode decodeWithFfmpeg(const QString& path, int channels) {
  static const QRegularExpression anything(QStringLiteral("\\S"));
  return run(QStringLiteral("ffmpeg"),
             {QStringLiteral("-nostdin"), QStringLiteral("-v"), QStringLiteral("warning"),
              QStringLiteral("-i"), path, QStringLiteral("-f"), QStringLiteral("f32le"),
              QStringLiteral("-c:a"), QStringLiteral("pcm_f32le"), QStringLiteral("-")},
             channels, anything);
}

OutsideDecode decodeWithMpg123(const QString& path, int channels, bool gapless) {
  static const QRegularExpression trouble(
      QStringLiteral("warn|error|illegal|invalid|missing|resync|big_values|bad |fail"),
      QRegularExpression::CaseInsensitiveOption);
  QStringList arguments = {QStringLiteral("-v"), QStringLiteral("-e"), QStringLiteral("f32"),
                           QStringLiteral("-s"), path};
  if (!gapless) arguments.prepend(QStringLiteral("--no-gapless"));
  return run(QStringLiteral("mpg123"), arguments, channels, trouble);
}

SampleDifference compareRange(const OutsideDecode& piece, const OutsideDecode& whole,
                              int64_t offset) {
  SampleDifference difference;
  const size_t first = static_cast<size_t>(offset) * static_cast<size_t>(piece.channels);
  for (size_t i = 0; i < piece.samples.size(); ++i) {
    const float reference = first + i < whole.samples.size() ? whole.samples[first + i] : NAN;
    const float delta = std::isnan(reference) ? INFINITY : std::fabs(piece.samples[i] - reference);
    if (delta > difference.largest) {
      difference.largest = delta;
      difference.atFrame = static_cast<int64_t>(i) / piece.channels;
    }
  }
  return difference;
}

}  // namespace tarvex::testing
