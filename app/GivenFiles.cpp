#include "app/GivenFiles.h"

#include <QDir>
#include <QUrl>

namespace tarvex {

QStringList givenFiles(const QStringList& arguments, const QString& workingFolder) {
  QStringList files;
  const QDir base(workingFolder);
  bool optionsEnded = false;
  for (qsizetype index = 1; index < arguments.size(); ++index) {
    const QString& argument = arguments[index];
    if (argument.isEmpty()) continue;
    if (!optionsEnded && argument == QLatin1String("--")) {
      optionsEnded = true;
      continue;
    }
    if (!optionsEnded && argument.startsWith(QLatin1Char('-'))) continue;
    // A file manager may pass file: addresses.
    const QString path = argument.startsWith(QLatin1String("file:"))
                             ? QUrl(argument).toLocalFile()
                             : base.absoluteFilePath(argument);
    if (path.isEmpty()) continue;
    files << QDir::toNativeSeparators(QDir::cleanPath(path));
  }
  return files;
}

}  // namespace tarvex
