#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <functional>

namespace tarvex {

// Gives the owner write permission on an existing file that lacks it. Throws
// TagError when the permission cannot be changed.
void makeWritableByOwner(const QString& path);

// Replaces the file at path by what produce writes: the new content goes to a
// uniquely named temporary file in the same folder, which is renamed over the
// original only when produce returned without throwing and every byte reached
// the disk. On any failure the original is left as it was, the temporary file
// is removed and TagError is thrown with errorPrefix in front of the reason.
// The original is made writable by its owner first.
void replaceFileAtomically(const QString& path, const QString& errorPrefix,
                           const std::function<void(QIODevice& out)>& produce);

// Reads a whole file; throws TagError ("Cannot open <path>: <reason>").
QByteArray readWholeFile(const QString& path);

}  // namespace tarvex
