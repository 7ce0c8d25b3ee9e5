#include "processing/ExclusiveOutput.h"

#include <QFile>
#include <cerrno>
#include <climits>

#include "components/audio/AudioError.h"
#include "components/audio/ErrorText.h"
#include "processing/OutputNaming.h"

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace tarvex {

ExclusiveResult createExclusively(const QString& path) {
  errno = 0;
#ifdef Q_OS_WIN
  const int descriptor = _wopen(reinterpret_cast<const wchar_t*>(path.utf16()),
                                _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
#else
  const int descriptor =
      ::open(QFile::encodeName(path).constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
#endif
  if (descriptor >= 0) {
#ifdef Q_OS_WIN
    _close(descriptor);
#else
    ::close(descriptor);
#endif
    return {ExclusiveCreation::Created, 0};
  }
  const int error = errno != 0 ? errno : EIO;
  if (error == EEXIST) return {ExclusiveCreation::Taken, error};
  return {ExclusiveCreation::Refused, error};
}

QString createFirstFreeOutput(const QString& planned, const QString& stem, const QString& outputDir,
                              const QString& extension) {
  QString path = planned;
  for (int number = 1;; ++number) {
    const ExclusiveResult result = createExclusively(path);
    if (result.creation == ExclusiveCreation::Created) return path;
    if (result.creation == ExclusiveCreation::Refused || number == INT_MAX) {
      throw AudioError(createError(path, systemReason(result.errorNumber)));
    }
    path = numberedOutputName(stem, number, outputDir, extension);
  }
}

}  // namespace tarvex
