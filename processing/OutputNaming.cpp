#include "processing/OutputNaming.h"

#include <QFileInfo>
#include <climits>

#include "tags/CleanName.h"

namespace tarvex {

QString outputStem(const QString& caption) {
  const qsizetype dot = caption.indexOf(QLatin1Char('.'));
  return dot >= 1 ? caption.left(dot) : caption;
}

bool pathTaken(const QString& path) {
  const QFileInfo info(path);
  return info.exists() || info.isSymLink();
}

QString fitFileName(const QString& name, const QString& suffix) {
  const qsizetype room = kMaxFileNameBytes - suffix.toUtf8().size();
  if (room <= 0) return suffix;
  QString kept = name;
  while (!kept.isEmpty() && kept.toUtf8().size() > room) {
    // Drop one whole character: a surrogate pair goes as one.
    qsizetype cut = kept.size() - 1;
    if (cut > 0 && kept.at(cut).isLowSurrogate() && kept.at(cut - 1).isHighSurrogate()) --cut;
    kept.truncate(cut);
  }
  return kept + suffix;
}

// The extension is appended: the stem holds no "." unless the caption starts
// with one, and replacing from that "." on would drop the number.
QString numberedOutputName(const QString& stem, int number, const QString& outputDir,
                           const QString& extension) {
  const QString numberText = QLatin1Char('_') + QString::number(number);
  return outputDir + fitFileName(CleanName(stem), numberText + CleanName(extension));
}

namespace {

QString firstFreeNumbered(const QString& stem, const QString& outputDir, const QString& extension,
                          const std::function<bool(const QString&)>& planned = {}) {
  for (int number = 1;; ++number) {
    const QString path = numberedOutputName(stem, number, outputDir, extension);
    const bool taken = pathTaken(path) || (planned && planned(path));
    if (!taken || number == INT_MAX) return path;
  }
}

}  // namespace

QString MakeOutputName(const QString& caption, const QString& outputDir, const QString& extension) {
  return firstFreeNumbered(outputStem(caption), outputDir, extension);
}

QString MakeOutputName(const QString& caption, const QString& outputDir, const QString& extension,
                       const std::function<bool(const QString&)>& planned) {
  return firstFreeNumbered(outputStem(caption), outputDir, extension, planned);
}

QString PlannedNames::next(const QString& caption) {
  const QString stem = outputStem(caption);
  for (int number = nextNumber_.value(stem, 1);; ++number) {
    const QString path = numberedOutputName(stem, number, outputDir_, extension_);
    if (number < INT_MAX && (planned_.contains(path) || pathTaken(path))) continue;
    planned_.insert(path);
    nextNumber_.insert(stem, number + 1);
    return path;
  }
}

QString PlannedNames::nextNamed(const QString& name) {
  const QString own = outputDir_ + fitFileName(name, CleanName(extension_));
  if (!planned_.contains(own) && !pathTaken(own)) {
    planned_.insert(own);
    return own;
  }
  for (int number = 2;; ++number) {
    const QString path = numberedOutputName(name, number, outputDir_, extension_);
    if (number < INT_MAX && (planned_.contains(path) || pathTaken(path))) continue;
    planned_.insert(path);
    return path;
  }
}

QString fallbackOutputName(const QString& sourcePath, const QString& outputDir,
                           const QString& extension) {
  const QString base = QFileInfo(sourcePath).completeBaseName();
  const QString own = outputDir + fitFileName(CleanName(base), CleanName(extension));
  if (!pathTaken(own)) return own;
  return firstFreeNumbered(base, outputDir, extension);
}

QString joinOutputPath(const QString& typedName, const QString& extension) {
  if (extension.isEmpty() || typedName.endsWith(extension, Qt::CaseInsensitive)) return typedName;
  return typedName + extension;
}

}  // namespace tarvex
