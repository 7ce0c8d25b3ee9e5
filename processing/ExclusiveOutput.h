#pragma once

#include <QString>

namespace tarvex {

// Creates an empty file at `path` only if nothing (file, folder, link) is
// there, with the operating system's guarantee that no one else created it
// at the same moment. The caller then writes over its own empty file.
enum class ExclusiveCreation {
  Created,
  Taken,    // something is already there
  Refused,  // it cannot be created (no such folder, not allowed, bad name, ...)
};
struct ExclusiveResult {
  ExclusiveCreation creation = ExclusiveCreation::Refused;
  int errorNumber = 0;  // errno of a refusal
};
ExclusiveResult createExclusively(const QString& path);

// Creates `planned`, or when it is taken the first free of stem_1, stem_2, ...
// in `outputDir` with `extension` (the numbering of MakeOutputName), each
// created exclusively, and returns the path created. A name that cannot be
// created for another reason than being taken throws AudioError naming it.
QString createFirstFreeOutput(const QString& planned, const QString& stem, const QString& outputDir,
                              const QString& extension);

}  // namespace tarvex
