#include "cli/Probe.h"

#include <QFile>
#include <QJsonValue>

#include "cli/CliFailure.h"
#include "sources/SourceProbe.h"
#include "tags/FileTags.h"

namespace tarvex::cli {

namespace {

struct TagField {
  const char* name;
  QString AudioFileinfo::*member;
};

constexpr TagField kTagFields[] = {
    {"title", &AudioFileinfo::title}, {"artist", &AudioFileinfo::artist},
    {"album", &AudioFileinfo::album}, {"year", &AudioFileinfo::year},
    {"genre", &AudioFileinfo::genre}, {"comment", &AudioFileinfo::comment},
};

}  // namespace

QString sniffFormat(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return QStringLiteral("other");
  const QByteArray head = file.read(16);
  if (head.startsWith("RIFF") && head.mid(8, 4) == "WAVE") return QStringLiteral("WAV");
  if (head.startsWith("OggS")) return QStringLiteral("Ogg");
  if (head.startsWith("fLaC")) return QStringLiteral("FLAC");
  if (head.startsWith(QByteArray::fromHex("3026b2758e66cf11"))) return QStringLiteral("WMA");
  if (head.startsWith("ID3")) return QStringLiteral("MP3");
  if (head.size() >= 2 && static_cast<unsigned char>(head[0]) == 0xFF &&
      (static_cast<unsigned char>(head[1]) & 0xE0) == 0xE0) {
    return QStringLiteral("MP3");
  }
  return QStringLiteral("other");
}

QString formatLength(int64_t frames, int sampleRate) {
  if (sampleRate <= 0 || frames < 0) return QStringLiteral("0:00:00.000");
  const int64_t ms = (frames * 1000 + sampleRate / 2) / sampleRate;
  return QStringLiteral("%1:%2:%3.%4")
      .arg(ms / 3600000)
      .arg(ms / 60000 % 60, 2, 10, QLatin1Char('0'))
      .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
      .arg(ms % 1000, 3, 10, QLatin1Char('0'));
}

ProbeReport probeFile(const QString& path) {
  ProbeReport report;
  report.path = path;
  // Measured by the probe the window uses when a file is added.
  const ProbeResult probed = probeSource(path, true);
  if (probed.outcome == ProbeResult::Outcome::NotSupported) {
    throw CliFailure(probed.reason.isEmpty()
                         ? QStringLiteral("%1: not an audio file the program can read").arg(path)
                         : probed.reason);
  }
  report.frames = probed.record.frames;
  report.sampleRate = probed.record.sampleRate;
  report.channels = probed.record.channels;
  report.format = sniffFormat(path);
  report.tagFamily = tagFamily(path);
  if (!report.tagFamily.isEmpty()) report.tags = readFileTags(path);
  return report;
}

QString probeText(const ProbeReport& report) {
  QString text = report.path + QLatin1Char('\n');
  const auto line = [&text](const QString& name, const QString& value) {
    text += QStringLiteral("  %1 %2\n").arg(name + QLatin1Char(':'), -10).arg(value);
  };
  line(QStringLiteral("length"), QStringLiteral("%1 (%2 frames)")
                                     .arg(formatLength(report.frames, report.sampleRate))
                                     .arg(report.frames));
  line(QStringLiteral("rate"), QStringLiteral("%1 Hz").arg(report.sampleRate));
  line(QStringLiteral("channels"), QString::number(report.channels));
  line(QStringLiteral("format"), report.format);
  for (const TagField& field : kTagFields) {
    const QString& value = report.tags.*field.member;
    if (!value.isEmpty()) line(QString::fromLatin1(field.name), value);
  }
  return text;
}

QJsonObject probeJson(const ProbeReport& report) {
  QJsonObject tags;
  for (const TagField& field : kTagFields) {
    const QString& value = report.tags.*field.member;
    if (!value.isEmpty()) tags.insert(QString::fromLatin1(field.name), value);
  }
  return QJsonObject{
      {QStringLiteral("file"), report.path},
      {QStringLiteral("frames"), static_cast<qint64>(report.frames)},
      {QStringLiteral("length"), formatLength(report.frames, report.sampleRate)},
      {QStringLiteral("sampleRate"), report.sampleRate},
      {QStringLiteral("channels"), report.channels},
      {QStringLiteral("format"), report.format},
      {QStringLiteral("tags"), tags},
  };
}

}  // namespace tarvex::cli
