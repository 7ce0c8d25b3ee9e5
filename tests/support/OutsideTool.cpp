#include "tests/support/OutsideTool.h"

#include <QProcess>

#include <cstring>
#include <stdexcept>

namespace tarvex::testing {

QByteArray runOutsideToolBytes(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  const QString call = program + QLatin1Char(' ') + arguments.join(QLatin1Char(' '));
  if (!process.waitForStarted(10'000)) {
    throw std::runtime_error(
        ("cannot start " + call + " (run scripts/install-deps)").toStdString());
  }
  process.closeWriteChannel();
  if (!process.waitForFinished(60'000)) {
    process.kill();
    process.waitForFinished();
    throw std::runtime_error(("timed out: " + call).toStdString());
  }
  if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
    throw std::runtime_error(
        ("failed: " + call + "\n" + QString::fromUtf8(process.readAllStandardError()))
            .toStdString());
  }
  return process.readAllStandardOutput();
}

QString runOutsideTool(const QString& program, const QStringList& arguments) {
  return QString::fromUtf8(runOutsideToolBytes(program, arguments));
}

std::vector<int32_t> ffmpegSamplesS32(const QString& path) {
  const QByteArray raw =
      runOutsideToolBytes(QStringLiteral("ffmpeg"),
                          {"-v", "error", "-i", path, "-f", "s32le", "-c:a", "pcm_s32le", "-"});
  std::vector<int32_t> samples(static_cast<size_t>(raw.size()) / 4);
  std::memcpy(samples.data(), raw.constData(), samples.size() * 4);
  return samples;
}

QString keyedValue(const QString& listing, const QString& key) {
  const QString prefix = key + QLatin1Char('=');
  for (const QString& line : listing.split(QLatin1Char('\n'))) {
    if (line.startsWith(prefix, Qt::CaseInsensitive)) return line.mid(prefix.size()).trimmed();
  }
  return {};
}

QString ffprobeTags(const QString& path) {
  const QString listing = runOutsideTool(
      QStringLiteral("ffprobe"),
      {"-v", "error", "-show_entries", "format_tags:stream_tags", "-of", "flat=s=_", path});
  // flat output: format.tags.title="x" -> title=x
  QString result;
  for (const QString& line : listing.split(QLatin1Char('\n'))) {
    const qsizetype tags = line.indexOf(QLatin1String("tags_"));
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (tags < 0 || equals < tags) continue;
    QString value = line.mid(equals + 1);
    if (value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"'))) {
      value = value.mid(1, value.size() - 2);
    }
    result += line.mid(tags + 5, equals - tags - 5).toLower() + QLatin1Char('=') + value +
              QLatin1Char('\n');
  }
  return result;
}

}  // namespace tarvex::testing
