#include "platform/PrivateProfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

namespace tarvex {
namespace {

struct ParsedFile {
  QStringList lines;
  QString lineEnd = QStringLiteral("\n");
  bool endsWithLineBreak = true;
};

std::optional<ParsedFile> readLines(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  const QString text = QString::fromUtf8(file.readAll());
  ParsedFile parsed;
  if (text.contains(QLatin1String("\r\n"))) parsed.lineEnd = QStringLiteral("\r\n");
  parsed.endsWithLineBreak = text.isEmpty() || text.endsWith(QLatin1Char('\n'));
  QString normalised = text;
  normalised.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  parsed.lines = normalised.split(QLatin1Char('\n'));
  if (parsed.endsWithLineBreak) parsed.lines.removeLast();
  return parsed;
}

// The section name of a "[name]" line, or nullopt for any other line.
std::optional<QString> sectionOf(const QString& line) {
  const QString trimmed = line.trimmed();
  if (!trimmed.startsWith(QLatin1Char('['))) return std::nullopt;
  const qsizetype close = trimmed.indexOf(QLatin1Char(']'));
  if (close < 0) return std::nullopt;
  return trimmed.mid(1, close - 1).trimmed();
}

// The key of a "key=value" line, or nullopt for comments and other lines.
std::optional<QString> keyOf(const QString& line) {
  const QString trimmed = line.trimmed();
  if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char(';'))) return std::nullopt;
  const qsizetype equals = line.indexOf(QLatin1Char('='));
  if (equals < 0) return std::nullopt;
  return line.left(equals).trimmed();
}

bool sameName(const QString& a, const QString& b) {
  return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The value after the "=", trimmed, without surrounding double quotes, cut
// to the longest value a caller is given.
QString valueOf(const QString& line) {
  QString value = line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
  if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"'))) {
    value = value.mid(1, value.size() - 2);
  }
  return value.left(PrivateProfile::kMaxValueLength);
}

}  // namespace

std::optional<QString> ProfileContents::value(const QString& section, const QString& key) const {
  for (const Entry& entry : entries_) {
    if (sameName(entry.section, section) && sameName(entry.key, key)) return entry.value;
  }
  return std::nullopt;
}

PrivateProfile::PrivateProfile(QString filePath) : filePath_(std::move(filePath)) {}

ProfileContents PrivateProfile::readAll() const {
  ++fileReads_;
  const auto parsed = readLines(filePath_);
  if (!parsed) return {};
  std::vector<ProfileContents::Entry> entries;
  std::optional<QString> section;
  for (const QString& line : parsed->lines) {
    if (const auto name = sectionOf(line)) {
      section = name;
      continue;
    }
    if (!section) continue;
    if (const auto lineKey = keyOf(line)) entries.push_back({*section, *lineKey, valueOf(line)});
  }
  return ProfileContents(std::move(entries));
}

std::optional<QString> PrivateProfile::readString(const QString& section,
                                                  const QString& key) const {
  return readAll().value(section, key);
}

void PrivateProfile::writeString(const QString& section, const QString& key,
                                 const QString& value) const {
  const QString failure =
      QStringLiteral("Unable to write to %1").arg(QFileInfo(filePath_).fileName());
  const QFileInfo info(filePath_);
  // A file nobody may write to is read-only for us too, whoever runs the program.
  const auto anyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
  if (info.exists() && (!info.isFile() || !info.isWritable() || !(info.permissions() & anyWrite))) {
    throw PrivateProfileError(failure.toStdString());
  }
  if (!QDir().mkpath(info.absolutePath())) throw PrivateProfileError(failure.toStdString());

  ParsedFile parsed;
  if (info.exists()) {
    auto existing = readLines(filePath_);
    if (!existing) throw PrivateProfileError(failure.toStdString());
    parsed = std::move(*existing);
  }

  const QString newLine = key + QLatin1Char('=') + value;
  qsizetype sectionStart = -1;  // index of the section's header line
  qsizetype lastContent = -1;   // last non-blank line inside the section
  bool replaced = false;
  bool inSection = false;
  for (qsizetype i = 0; i < parsed.lines.size() && !replaced; ++i) {
    const QString& line = parsed.lines[i];
    if (const auto name = sectionOf(line)) {
      if (inSection) break;  // the section ended without the key
      inSection = sameName(*name, section);
      if (inSection) {
        sectionStart = i;
        lastContent = i;
      }
      continue;
    }
    if (!inSection) continue;
    if (!line.trimmed().isEmpty()) lastContent = i;
    const auto lineKey = keyOf(line);
    if (lineKey && sameName(*lineKey, key)) {
      parsed.lines[i] = newLine;
      replaced = true;
    }
  }
  if (!replaced) {
    if (sectionStart >= 0) {
      parsed.lines.insert(lastContent + 1, newLine);
    } else {
      parsed.lines << QLatin1Char('[') + section + QLatin1Char(']') << newLine;
    }
  }

  QSaveFile file(filePath_);
  if (!file.open(QIODevice::WriteOnly)) throw PrivateProfileError(failure.toStdString());
  QString text = parsed.lines.join(parsed.lineEnd);
  text += parsed.lineEnd;
  const QByteArray bytes = text.toUtf8();
  if (file.write(bytes) != bytes.size() || !file.commit()) {
    throw PrivateProfileError(failure.toStdString());
  }
}

}  // namespace tarvex
