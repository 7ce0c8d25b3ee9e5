#include "sources/cue/CueFileMatch.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace tarvex {

namespace {

const QStringList& audioExtensions() {
  static const QStringList extensions = {QStringLiteral("mp3"), QStringLiteral("mp2"),
                                         QStringLiteral("wav"), QStringLiteral("ogg"),
                                         QStringLiteral("wma"), QStringLiteral("flac")};
  return extensions;
}

// The entry of `folder` named `name` regardless of case ("" when none).
QString findInFolder(const QDir& folder, const QString& name) {
  const QString exact = folder.filePath(name);
  if (QFileInfo(exact).isFile()) return exact;
  const QStringList entries = folder.entryList(QDir::Files);
  for (const QString& entry : entries)
    if (entry.compare(name, Qt::CaseInsensitive) == 0) return folder.filePath(entry);
  return QString();
}

// "C:\rips\a.wav" and "rips/a.wav" alike: the last path part.
QString lastPart(QString name) {
  name.replace(QLatin1Char('\\'), QLatin1Char('/'));
  return name.section(QLatin1Char('/'), -1);
}

QString baseName(const QString& name) {
  const QString file = lastPart(name);
  const qsizetype dot = file.lastIndexOf(QLatin1Char('.'));
  return dot <= 0 ? file : file.left(dot);
}

}  // namespace

QString cueSheetBeside(const QString& audioPath) {
  const QFileInfo audio(audioPath);
  const QDir folder = audio.absoluteDir();
  for (const QString& candidate : {audio.completeBaseName() + QStringLiteral(".cue"),
                                   audio.fileName() + QStringLiteral(".cue")}) {
    const QString found = findInFolder(folder, candidate);
    if (!found.isEmpty()) return found;
  }
  return QString();
}

QString cueAudioPath(const CueSheet& sheet, int fileIndex, const QString& cuePath) {
  if (fileIndex < 0 || fileIndex >= static_cast<int>(sheet.files.size())) return QString();
  const QString written = sheet.files[static_cast<size_t>(fileIndex)].name;
  const QDir folder = QFileInfo(cuePath).absoluteDir();
  QString relative = written;
  relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
  const QString asWritten = QDir::isAbsolutePath(relative) ? relative : folder.filePath(relative);
  if (QFileInfo(asWritten).isFile()) return QDir::cleanPath(asWritten);
  const QString sameName = findInFolder(folder, lastPart(written));
  if (!sameName.isEmpty()) return sameName;
  const QString base = baseName(written);
  for (const QString& extension : audioExtensions()) {
    const QString found = findInFolder(folder, base + QLatin1Char('.') + extension);
    if (!found.isEmpty()) return found;
  }
  return QString();
}

int cueFileIndexFor(const CueSheet& sheet, const QString& audioPath) {
  const QString audioBase = QFileInfo(audioPath).completeBaseName();
  for (size_t i = 0; i < sheet.files.size(); ++i)
    if (baseName(sheet.files[i].name).compare(audioBase, Qt::CaseInsensitive) == 0)
      return static_cast<int>(i);
  return sheet.files.size() == 1 ? 0 : -1;
}

}  // namespace tarvex
