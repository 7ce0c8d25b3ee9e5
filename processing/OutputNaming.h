#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <functional>

namespace tarvex {

// The longest file name, in UTF-8 bytes, that the usual file systems accept.
constexpr int kMaxFileNameBytes = 255;

// The stem of a source's caption: the text before its first "." when that
// stands at the second character or later, else the whole caption.
QString outputStem(const QString& caption);

// The path of the next free split piece for a caption: outputDir + the cleaned
// stem + "_N" + extension, N counting from 1 until no file (nor link) of that
// name exists, so no existing file is ever written over. A name that would
// pass 255 bytes is shortened on a character boundary, keeping "_N" and the
// extension.
QString MakeOutputName(const QString& caption, const QString& outputDir, const QString& extension);
// The same, also passing over every name `planned` says is already given to
// another output of the same job.
QString MakeOutputName(const QString& caption, const QString& outputDir, const QString& extension,
                       const std::function<bool(const QString&)>& planned);

// The names of one job's pieces, given as MakeOutputName gives them with
// every earlier name of the job counted as planned, but counting on from the
// last number given for a caption, so naming n pieces looks at n names on
// disk rather than n².
class PlannedNames {
 public:
  PlannedNames(QString outputDir, QString extension)
      : outputDir_(std::move(outputDir)), extension_(std::move(extension)) {}
  QString next(const QString& caption);
  // outputDir + `name` + extension when neither taken nor planned, else
  // name + "_N" for the first such N from 2. `name` is already a safe name.
  QString nextNamed(const QString& name);

 private:
  QString outputDir_;
  QString extension_;
  QSet<QString> planned_;
  QHash<QString, int> nextNumber_;
};

// outputDir + the cleaned stem + "_N" + extension, shortened as
// MakeOutputName does; whether the name is free is not looked at.
QString numberedOutputName(const QString& stem, int number, const QString& outputDir,
                           const QString& extension);

// The name a piece falls back to when its own cannot be created: the source
// file's own name with the piece's extension in outputDir, counted on as
// MakeOutputName does when that name is taken (it may be the source itself).
QString fallbackOutputName(const QString& sourcePath, const QString& outputDir,
                           const QString& extension);

// The join output path for the name typed in the save dialog: the extension
// is appended unless the name already ends with it (case-insensitive).
QString joinOutputPath(const QString& typedName, const QString& extension);

// `name` (without folder) shortened so that name + suffix fits in
// kMaxFileNameBytes UTF-8 bytes, never cutting a character in two.
QString fitFileName(const QString& name, const QString& suffix);

// True when a file, folder or link (even a broken one) exists at `path`.
bool pathTaken(const QString& path);

}  // namespace tarvex
