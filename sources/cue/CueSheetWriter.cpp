#include "sources/cue/CueSheetWriter.h"

#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

#include "sources/cue/CueSheetError.h"

namespace tarvex {

namespace {

QString cueText(QString text) {
  text.replace(QLatin1Char('"'), QLatin1Char('\''));
  text.replace(QLatin1Char('\r'), QLatin1Char(' '));
  text.replace(QLatin1Char('\n'), QLatin1Char(' '));
  return text.trimmed();
}

QString fileType(const QString& name) {
  const QString extension = QFileInfo(name).suffix().toLower();
  if (extension == QLatin1String("mp3") || extension == QLatin1String("mp2"))
    return QStringLiteral("MP3");
  if (extension == QLatin1String("aif") || extension == QLatin1String("aiff"))
    return QStringLiteral("AIFF");
  return QStringLiteral("WAVE");
}

[[noreturn]] void failWrite(const QString& path, const QString& reason) {
  throw CueSheetError(
      QStringLiteral("The CUE sheet \"%1\" cannot be written: %2.").arg(path, reason));
}

}  // namespace

CueSheet cueSheetFromPieces(const QString& audioPath, std::vector<TrackPiece> pieces,
                            int sampleRate) {
  if (pieces.empty())
    throw CueSheetError(
        QStringLiteral("\"%1\" has no marked ranges to save as a CUE sheet.").arg(audioPath));
  if (sampleRate <= 0)
    throw CueSheetError(
        QStringLiteral("The sample rate of \"%1\" is not known, so its marks cannot be saved.")
            .arg(audioPath));
  std::stable_sort(pieces.begin(), pieces.end(), [](const TrackPiece& a, const TrackPiece& b) {
    return a.span.first < b.span.first;
  });
  CueSheet sheet;
  sheet.files.push_back({QFileInfo(audioPath).fileName(), fileType(audioPath)});
  int64_t previousEnd = 0;
  int64_t previousBegin = -1;
  for (size_t i = 0; i < pieces.size(); ++i) {
    const TrackPiece& piece = pieces[i];
    const int64_t begin = cueFrameAtSample(piece.span.first, sampleRate);
    if (begin == previousBegin)
      throw CueSheetError(
          QStringLiteral("Two ranges of \"%1\" start at %2; a CUE sheet holds one track per start.")
              .arg(audioPath, formatCueTime(begin)));
    CueTrack track;
    track.number = static_cast<int>(i) + 1;
    track.title = piece.title;
    track.performer = piece.performer;
    if (begin > previousEnd) track.indexes.push_back({0, previousEnd});
    track.indexes.push_back({1, begin});
    sheet.tracks.push_back(track);
    previousBegin = begin;
    previousEnd = std::max(previousEnd, cueFrameAtSample(piece.span.end, sampleRate));
  }
  return sheet;
}

QByteArray formatCueSheet(const CueSheet& sheet) {
  QString text;
  const auto line = [&text](const QString& content) {
    text += content;
    text += QLatin1String("\r\n");
  };
  const auto quoted = [](const QString& value) {
    return QLatin1Char('"') + cueText(value) + QLatin1Char('"');
  };
  if (!sheet.genre.isEmpty()) line(QStringLiteral("REM GENRE ") + quoted(sheet.genre));
  if (!sheet.date.isEmpty()) line(QStringLiteral("REM DATE ") + cueText(sheet.date));
  if (!sheet.comment.isEmpty()) line(QStringLiteral("REM COMMENT ") + quoted(sheet.comment));
  for (const QString& other : sheet.otherLines) line(other);
  if (!sheet.performer.isEmpty()) line(QStringLiteral("PERFORMER ") + quoted(sheet.performer));
  if (!sheet.title.isEmpty()) line(QStringLiteral("TITLE ") + quoted(sheet.title));
  int currentFile = -1;
  for (const CueTrack& track : sheet.tracks) {
    if (track.fileIndex != currentFile && track.fileIndex < static_cast<int>(sheet.files.size())) {
      currentFile = track.fileIndex;
      const CueFile& file = sheet.files[static_cast<size_t>(currentFile)];
      line(QStringLiteral("FILE %1 %2").arg(quoted(file.name), file.type));
    }
    line(QStringLiteral("  TRACK %1 AUDIO").arg(track.number, 2, 10, QLatin1Char('0')));
    if (!track.title.isEmpty()) line(QStringLiteral("    TITLE ") + quoted(track.title));
    if (!track.performer.isEmpty())
      line(QStringLiteral("    PERFORMER ") + quoted(track.performer));
    if (!track.songwriter.isEmpty())
      line(QStringLiteral("    SONGWRITER ") + quoted(track.songwriter));
    for (const QString& other : track.otherLines) line(QStringLiteral("    ") + other);
    for (const CueIndex& index : track.indexes)
      line(QStringLiteral("    INDEX %1 %2")
               .arg(index.number, 2, 10, QLatin1Char('0'))
               .arg(formatCueTime(index.cdFrame)));
  }
  return text.toUtf8();
}

void writeCueSheet(const QString& path, const CueSheet& sheet, bool replaceExisting) {
  if (!replaceExisting && QFileInfo::exists(path))
    failWrite(path, QStringLiteral("it already exists"));
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) failWrite(path, file.errorString());
  const QByteArray bytes = formatCueSheet(sheet);
  if (file.write(bytes) != bytes.size()) failWrite(path, file.errorString());
  if (!file.commit()) failWrite(path, file.errorString());
}

}  // namespace tarvex
