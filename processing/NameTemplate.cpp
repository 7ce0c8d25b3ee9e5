#include "processing/NameTemplate.h"

#include <cmath>

#include "platform/Error.h"
#include "tags/CleanName.h"

namespace tarvex {

namespace {

[[noreturn]] void refuse(const QString& nameTemplate, const QString& reason) {
  throw Error(
      QStringLiteral("The name template \"%1\" cannot be used: %2.").arg(nameTemplate, reason));
}

QString startText(double seconds, const QString& spec) {
  const int64_t ms = std::llround(std::max(0.0, seconds) * 1000);
  if (spec == QLatin1String("ms")) return QString::number(ms);
  const int64_t whole = ms / 1000;
  const auto two = [](int64_t value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
  };
  if (whole >= 3600) {
    return QString::number(whole / 3600) + QLatin1Char('.') + two(whole / 60 % 60) +
           QLatin1Char('.') + two(whole % 60);
  }
  return QString::number(whole / 60) + QLatin1Char('.') + two(whole % 60);
}

QString numberText(const QString& nameTemplate, int value, const QString& spec) {
  if (spec.isEmpty()) return QString::number(value);
  bool ok = false;
  const int width = spec.toInt(&ok);
  if (!ok || width < 1 || width > 9 || spec.startsWith(QLatin1Char('+')) ||
      spec.startsWith(QLatin1Char('-'))) {
    refuse(nameTemplate, QStringLiteral("\"%1\" is not a width from 1 to 9").arg(spec));
  }
  const QChar fill = spec.startsWith(QLatin1Char('0')) ? QLatin1Char('0') : QLatin1Char(' ');
  return QStringLiteral("%1").arg(value, width, 10, fill);
}

// The template with its fields filled in; `fields` null only checks it.
QString fill(const QString& nameTemplate, const NameFields* fields) {
  QString out;
  for (qsizetype at = 0; at < nameTemplate.size(); ++at) {
    const QChar c = nameTemplate[at];
    if (c == QLatin1Char('}')) {
      if (at + 1 < nameTemplate.size() && nameTemplate[at + 1] == QLatin1Char('}')) ++at;
      out += c;
      continue;
    }
    if (c != QLatin1Char('{')) {
      out += c;
      continue;
    }
    if (at + 1 < nameTemplate.size() && nameTemplate[at + 1] == QLatin1Char('{')) {
      out += c;
      ++at;
      continue;
    }
    const qsizetype close = nameTemplate.indexOf(QLatin1Char('}'), at);
    if (close < 0) refuse(nameTemplate, QStringLiteral("a \"{\" is not closed"));
    const QString inside = nameTemplate.mid(at + 1, close - at - 1);
    at = close;
    const QString name = inside.section(QLatin1Char(':'), 0, 0);
    const QString spec =
        inside.contains(QLatin1Char(':')) ? inside.section(QLatin1Char(':'), 1) : QString();
    const NameFields none;
    const NameFields& f = fields != nullptr ? *fields : none;
    const auto text = [&](const QString& value) {
      if (!spec.isEmpty()) refuse(nameTemplate, QStringLiteral("{%1} takes no format").arg(name));
      out += value;
    };
    if (name == QLatin1String("n")) {
      out += numberText(nameTemplate, f.n, spec);
    } else if (name == QLatin1String("N")) {
      out += numberText(nameTemplate, f.N, spec);
    } else if (name == QLatin1String("start")) {
      if (!spec.isEmpty() && spec != QLatin1String("ms"))
        refuse(nameTemplate, QStringLiteral("{start} takes only \"ms\""));
      out += startText(f.startSeconds, spec);
    } else if (name == QLatin1String("title")) {
      text(f.title);
    } else if (name == QLatin1String("artist")) {
      text(f.artist);
    } else if (name == QLatin1String("album")) {
      text(f.album);
    } else if (name == QLatin1String("year")) {
      text(f.year);
    } else if (name == QLatin1String("source")) {
      text(f.source);
    } else {
      refuse(nameTemplate,
             QStringLiteral("{%1} is not a field (n, N, title, artist, album, year, source, start)")
                 .arg(inside));
    }
  }
  return out;
}

}  // namespace

void checkNameTemplate(const QString& nameTemplate) {
  fill(nameTemplate, nullptr);
}

QString expandNameTemplate(const QString& nameTemplate, const NameFields& fields) {
  QString name = CleanName(fill(nameTemplate, &fields));
  QString safe;
  for (const QChar c : name) {
    // Control characters, and separators CleanName leaves (none on Windows).
    if (c.category() == QChar::Other_Control || c == QChar(0x2028) || c == QChar(0x2029)) continue;
    safe += c;
  }
  // "." and ".." name folders; a name of blanks and dots is none.
  while (!safe.isEmpty() && (safe.front().isSpace() || safe.front() == QLatin1Char('.')))
    safe.remove(0, 1);
  while (!safe.isEmpty() && (safe.back().isSpace() || safe.back() == QLatin1Char('.')))
    safe.chop(1);
  return safe;
}

}  // namespace tarvex
