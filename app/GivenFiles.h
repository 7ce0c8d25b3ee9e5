#pragma once

#include <QString>
#include <QStringList>

namespace tarvex {

// The files named on the program's command line (`arguments` as
// QCoreApplication gives them, the program first), made absolute against the
// caller's folder. Options (a leading "-") are skipped; after "--" every
// argument is a file. A "file:" address gives its local path.
QStringList givenFiles(const QStringList& arguments, const QString& workingFolder);

}  // namespace tarvex
