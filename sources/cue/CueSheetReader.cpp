#include "sources/cue/CueSheetReader.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringList>

#include <array>

#include "sources/cue/CueSheetError.h"

namespace tarvex {

namespace {

constexpr int kMaxTracks = 999;

// Windows-1252 characters for bytes 0x80..0x9F (0 where the code page leaves a hole).
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

QString decodeWindows1252(const QByteArray& bytes) {
  QString text;
  text.reserve(bytes.size());
  for (const char byte : bytes) {
    const auto value = static_cast<unsigned char>(byte);
    if (value >= 0x80 && value <= 0x9F && kWindows1252High[value - 0x80] != 0)
      text.append(QChar(kWindows1252High[value - 0x80]));
    else
      text.append(QChar(static_cast<char16_t>(value)));
  }
  return text;
}

[[noreturn]] void fail(const QString& path, const QString& reason) {
  throw CueSheetError(QStringLiteral("The CUE sheet \"%1\" cannot be read: %2.").arg(path, reason));
}

[[noreturn]] void failAt(const QString& path, int line, const QString& reason) {
  fail(path, QStringLiteral("line %1: %2").arg(line).arg(reason));
}

// Splits a line into words; a double-quoted text is one word without its quotes.
QStringList splitWords(const QString& line) {
  QStringList words;
  int at = 0;
  const int size = static_cast<int>(line.size());
  while (at < size) {
    while (at < size && line[at].isSpace()) ++at;
    if (at >= size) break;
    QString word;
    if (line[at] == QLatin1Char('"')) {
      ++at;
      while (at < size && line[at] != QLatin1Char('"')) word.append(line[at++]);
      ++at;  // the closing quote (a missing one ends the text at the line end)
    } else {
      while (at < size && !line[at].isSpace()) word.append(line[at++]);
    }
    words.append(word);
  }
  return words;
}

// The text after the keyword: a quoted text, or the rest of the line as written.
QString textArgument(const QString& line, const QString& keyword) {
  QString rest = line.trimmed().mid(keyword.size()).trimmed();
  if (rest.startsWith(QLatin1Char('"'))) {
    const qsizetype close = rest.indexOf(QLatin1Char('"'), 1);
    return close < 0 ? rest.mid(1) : rest.mid(1, close - 1);
  }
  return rest;
}

bool parseNumber(const QString& text, int64_t& value) {
  if (text.isEmpty() || text.size() > 9) return false;
  for (const QChar c : text)
    if (!c.isDigit() || c.unicode() > '9') return false;
  value = text.toLongLong();
  return true;
}

// "mm:ss:ff" with seconds below 60 and frames below 75; minutes may exceed 99.
bool parseCueTime(const QString& text, int64_t& cdFrame) {
  const QStringList parts = text.split(QLatin1Char(':'));
  if (parts.size() != 3) return false;
  int64_t minutes = 0, seconds = 0, frames = 0;
  if (!parseNumber(parts[0], minutes) || !parseNumber(parts[1], seconds) ||
      !parseNumber(parts[2], frames))
    return false;
  if (parts[1].size() > 2 || parts[2].size() > 2 || seconds >= 60 ||
      frames >= kCueFramesPerSecond || minutes > 99999)
    return false;
  cdFrame = (minutes * 60 + seconds) * kCueFramesPerSecond + frames;
  return true;
}

bool looksBinary(const QByteArray& bytes) {
  int controls = 0;
  for (const char byte : bytes) {
    const auto value = static_cast<unsigned char>(byte);
    if (value == 0) return true;
    if (value < 0x20 && value != '\t' && value != '\n' && value != '\r' && value != '\f')
      ++controls;
  }
  return controls > 8 && controls * 50 > bytes.size();
}

class SheetParser {
 public:
  explicit SheetParser(const QString& path) : path_(path) {}

  CueSheet parse(const QString& text) {
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) parseLine(lines[i], i + 1);
    finish();
    return std::move(sheet_);
  }

 private:
  void parseLine(QString line, int number) {
    if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    const QStringList words = splitWords(line);
    if (words.isEmpty()) return;
    const QString keyword = words[0].toUpper();
    if (keyword == QLatin1String("REM")) {
      if (!remark(words)) keepLine(line);
    } else if (keyword == QLatin1String("FILE")) {
      file(line, words, number);
    } else if (keyword == QLatin1String("TRACK")) {
      track(words, number);
    } else if (keyword == QLatin1String("INDEX")) {
      index(words, number);
    } else if (keyword == QLatin1String("TITLE")) {
      (inTrack() ? sheet_.tracks.back().title : sheet_.title) = textArgument(line, words[0]);
    } else if (keyword == QLatin1String("PERFORMER")) {
      (inTrack() ? sheet_.tracks.back().performer : sheet_.performer) =
          textArgument(line, words[0]);
    } else if (keyword == QLatin1String("SONGWRITER")) {
      if (inTrack())
        sheet_.tracks.back().songwriter = textArgument(line, words[0]);
      else
        keepLine(line);
    } else {
      // CATALOG, CDTEXTFILE, FLAGS, ISRC, PREGAP, POSTGAP and anything
      // unknown: not used, kept for a sheet written over this one.
      keepLine(line);
    }
  }

  void keepLine(const QString& line) {
    (inTrack() ? sheet_.tracks.back().otherLines : sheet_.otherLines) << line.trimmed();
  }

  bool inTrack() const { return !sheet_.tracks.empty(); }

  // A REM line the program reads (GENRE, DATE, COMMENT); false for others.
  bool remark(const QStringList& words) {
    if (words.size() < 3) return false;
    const QString key = words[1].toUpper();
    const QString value = QStringList(words.mid(2)).join(QLatin1Char(' '));
    if (key == QLatin1String("GENRE"))
      sheet_.genre = value;
    else if (key == QLatin1String("DATE"))
      sheet_.date = value;
    else if (key == QLatin1String("COMMENT"))
      sheet_.comment = value;
    else
      return false;
    return true;
  }

  void file(const QString& line, const QStringList& words, int number) {
    CueFile entry;
    const QString rest = line.trimmed().mid(words[0].size()).trimmed();
    if (rest.startsWith(QLatin1Char('"'))) {
      entry.name = words.value(1);
      entry.type = words.value(2).toUpper();
    } else {
      // A bare name may hold blanks: the last word is the type.
      const qsizetype lastBlank = rest.lastIndexOf(QLatin1Char(' '));
      entry.name = lastBlank < 0 ? rest : rest.left(lastBlank).trimmed();
      entry.type = lastBlank < 0 ? QString() : rest.mid(lastBlank + 1).toUpper();
    }
    if (entry.name.isEmpty()) failAt(path_, number, QStringLiteral("FILE names no file"));
    sheet_.files.push_back(entry);
  }

  void track(const QStringList& words, int number) {
    if (sheet_.files.empty()) failAt(path_, number, QStringLiteral("TRACK comes before any FILE"));
    int64_t trackNumber = 0;
    if (words.size() < 2 || !parseNumber(words[1], trackNumber))
      failAt(path_, number, QStringLiteral("TRACK needs a number"));
    if (static_cast<int>(sheet_.tracks.size()) >= kMaxTracks)
      failAt(path_, number, QStringLiteral("more than %1 tracks").arg(kMaxTracks));
    checkPreviousTrack();
    CueTrack entry;
    entry.number = static_cast<int>(trackNumber);
    entry.fileIndex = static_cast<int>(sheet_.files.size()) - 1;
    sheet_.tracks.push_back(entry);
    trackLine_ = number;
  }

  void index(const QStringList& words, int number) {
    if (!inTrack()) failAt(path_, number, QStringLiteral("INDEX comes before any TRACK"));
    int64_t indexNumber = 0;
    if (words.size() < 3 || !parseNumber(words[1], indexNumber) || indexNumber > 99)
      failAt(path_, number, QStringLiteral("INDEX needs a number and a time"));
    CueIndex entry;
    entry.number = static_cast<int>(indexNumber);
    if (!parseCueTime(words[2], entry.cdFrame))
      failAt(path_, number,
             QStringLiteral("the time \"%1\" is not minutes:seconds:frames").arg(words[2]));
    CueTrack& current = sheet_.tracks.back();
    const int fileNow = static_cast<int>(sheet_.files.size()) - 1;
    // Within one file a track's indexes ascend (a FILE line between a track's
    // INDEX 00 and INDEX 01 starts a new file, where times start again).
    if (!current.indexes.empty() && lastIndexFile_ == fileNow &&
        entry.cdFrame < current.indexes.back().cdFrame)
      failAt(path_, number,
             QStringLiteral("INDEX %1 lies before the track's previous INDEX").arg(entry.number));
    current.indexes.push_back(entry);
    lastIndexFile_ = fileNow;
    if (entry.number != 1) return;
    // The track plays from the file its INDEX 01 is in.
    current.fileIndex = fileNow;
    if (lastStartFile_ == fileNow && entry.cdFrame <= lastStart_)
      failAt(path_, number,
             QStringLiteral("track %1 starts at %2, not after the track above it")
                 .arg(current.number)
                 .arg(formatCueTime(entry.cdFrame)));
    lastStart_ = entry.cdFrame;
    lastStartFile_ = fileNow;
  }

  void checkPreviousTrack() const {
    if (inTrack() && sheet_.tracks.back().startFrame() < 0)
      failAt(path_, trackLine_,
             QStringLiteral("track %1 has no INDEX 01").arg(sheet_.tracks.back().number));
  }

  void finish() {
    if (!inTrack()) fail(path_, QStringLiteral("it lists no TRACK"));
    checkPreviousTrack();
  }

  QString path_;
  CueSheet sheet_;
  int trackLine_ = 0;
  int64_t lastStart_ = -1;
  int lastStartFile_ = -1;
  int lastIndexFile_ = -1;
};

}  // namespace

QString decodeCueText(const QByteArray& bytes) {
  if (bytes.startsWith("\xEF\xBB\xBF")) return QString::fromUtf8(bytes.mid(3));
  if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
    QStringDecoder decoder(QStringConverter::Utf16);
    return decoder.decode(bytes);
  }
  QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
  const QString text = utf8.decode(bytes);
  if (!utf8.hasError()) return text;
  return decodeWindows1252(bytes);
}

CueSheet parseCueSheet(const QByteArray& bytes, const QString& path) {
  if (bytes.size() > kMaxCueSheetBytes)
    fail(path, QStringLiteral("it is larger than %1 KiB").arg(kMaxCueSheetBytes / 1024));
  const bool utf16 = bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
  if (!utf16 && looksBinary(bytes)) fail(path, QStringLiteral("it is not a text file"));
  if (bytes.trimmed().isEmpty()) fail(path, QStringLiteral("the file is empty"));
  return SheetParser(path).parse(decodeCueText(bytes));
}

CueSheet readCueSheet(const QString& path) {
  QFile file(path);
  if (!file.exists()) fail(path, QStringLiteral("the file does not exist"));
  if (!file.open(QIODevice::ReadOnly))
    fail(path,
         file.errorString().isEmpty() ? QStringLiteral("it cannot be opened") : file.errorString());
  if (file.size() > kMaxCueSheetBytes)
    fail(path, QStringLiteral("it is larger than %1 KiB").arg(kMaxCueSheetBytes / 1024));
  const QByteArray bytes = file.read(kMaxCueSheetBytes + 1);
  return parseCueSheet(bytes, path);
}

}  // namespace tarvex
