#include "cli/TimeRanges.h"

#include <QStringList>
#include <limits>

#include "cli/UsageError.h"

namespace tarvex::cli {

namespace {

bool parsePart(const QString& text, qint64& value) {
  if (text.isEmpty() || text.size() > 9) return false;
  for (const QChar c : text) {
    if (!c.isDigit() || c.unicode() > '9') return false;
  }
  value = text.toLongLong();
  return true;
}

}  // namespace

double parseTime(const QString& text) {
  const auto fail = [&text] {
    return UsageError(QStringLiteral("\"%1\" is not a time: write seconds, M:SS or H:MM:SS, with a "
                                     "fraction if need be (7.777, 1:02.5)")
                          .arg(text));
  };
  QString whole = text.trimmed();
  double fraction = 0;
  if (const qsizetype point = whole.indexOf(QLatin1Char('.')); point >= 0) {
    const QString digits = whole.mid(point + 1);
    qint64 value = 0;
    if (!parsePart(digits, value)) throw fail();
    fraction = (QStringLiteral("0.") + digits).toDouble();
    whole = whole.left(point);
  }
  const QStringList parts = whole.split(QLatin1Char(':'));
  if (parts.size() > 3) throw fail();
  qint64 total = 0;
  for (qsizetype index = 0; index < parts.size(); ++index) {
    qint64 value = 0;
    if (!parsePart(parts[index], value)) throw fail();
    // Past the first part, minutes and seconds stay below 60.
    if (index > 0 && (value >= 60 || parts[index].size() != 2)) throw fail();
    total = total * 60 + value;
  }
  if (total > std::numeric_limits<int>::max()) throw fail();
  return static_cast<double>(total) + fraction;
}

std::vector<double> parseRanges(const QString& text) {
  std::vector<double> times;
  for (const QString& item : text.split(QLatin1Char(','))) {
    const QStringList ends = item.split(QLatin1Char('-'));
    if (ends.size() != 2) {
      throw UsageError(
          QStringLiteral("\"%1\" is not a range: write BEGIN-END, as 0:30-1:15").arg(item));
    }
    const double begin = parseTime(ends[0]);
    const double end = parseTime(ends[1]);
    if (end <= begin) {
      throw UsageError(QStringLiteral("the range \"%1\" ends before it begins").arg(item));
    }
    times.push_back(begin);
    times.push_back(end);
  }
  return times;
}

}  // namespace tarvex::cli
