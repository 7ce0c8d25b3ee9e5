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

float largestDifference(const OutsideDecode& piece, const OutsideDecode& whole, int64_t offset,
                        int64_t from, int64_t to) {
  float largest = 0.0f;
  const int channels = piece.channels;
  for (int64_t frame = std::max<int64_t>(from, 0); frame < std::min(to, piece.frames()); ++frame)
    for (int channel = 0; channel < channels; ++channel) {
      const auto at = static_cast<size_t>(frame * channels + channel);
      const auto there = static_cast<size_t>((frame + offset) * channels + channel);
      largest = std::max(largest, there < whole.samples.size()
                                      ? std::fabs(piece.samples[at] - whole.samples[there])
                                      : INFINITY);
    }
  return largest;
}

namespace {

// A sum of `count` squared samples as a level in dB (full scale 1.0).
double meanSquareDb(double sum, int64_t count) {
  return 10.0 * std::log10(std::max(sum / std::max(static_cast<double>(count), 1.0), 1e-20));
}

}  // namespace

double levelDb(const OutsideDecode& decode, int64_t from, int64_t to) {
  from = std::clamp<int64_t>(from, 0, decode.frames());
  to = std::clamp<int64_t>(to, from, decode.frames());
  double sum = 0.0;
  for (auto i = static_cast<size_t>(from * decode.channels);
       i < static_cast<size_t>(to * decode.channels); ++i)
    sum += double{decode.samples[i]} * decode.samples[i];
  return meanSquareDb(sum, (to - from) * decode.channels);
}

double differenceLevelDb(const OutsideDecode& piece, const OutsideDecode& whole, int64_t offset,
                         int64_t from, int64_t to) {
  from = std::clamp<int64_t>(from, 0, piece.frames());
  to = std::clamp<int64_t>(to, from, std::min(piece.frames(), whole.frames() - offset));
  double sum = 0.0;
  const auto channels = static_cast<size_t>(piece.channels);
  for (auto frame = static_cast<size_t>(from); frame < static_cast<size_t>(to); ++frame)
    for (size_t channel = 0; channel < channels; ++channel) {
      const double off = double{piece.samples[frame * channels + channel]} -
                         whole.samples[(frame + static_cast<size_t>(offset)) * channels + channel];
      sum += off * off;
    }
  return meanSquareDb(sum, (to - from) * piece.channels);
}

}  // namespace tarvex::testing
