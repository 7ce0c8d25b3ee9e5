#include "components/audio/OutputFile.h"

#include "components/audio/AudioError.h"
#include "components/audio/ErrorText.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>

namespace tarvex {

namespace {
constexpr size_t kBufferBytes = 1 << 20;
}

OutputFile::OutputFile(const QString& fileName) : fileName_(fileName) {
  if (QFileInfo(fileName).isDir()) throw AudioError(createError(fileName, QStringLiteral("it is a folder")));
  errno = 0;
  file_ = std::fopen(QFile::encodeName(fileName).constData(), "wb");
  if (file_ == nullptr) throw AudioError(createError(fileName, systemReason(errno != 0 ? errno : EIO)));
  std::setvbuf(file_, nullptr, _IOFBF, kBufferBytes);
}

OutputFile::~OutputFile() {
  if (file_ != nullptr) std::fclose(file_);
}

void OutputFile::failWrite(int errorNumber) const {
  throw AudioError(writeError(fileName_, systemReason(errorNumber != 0 ? errorNumber : EIO)));
}

void OutputFile::write(const void* data, size_t size) {
  if (size == 0) return;
  errno = 0;
  if (std::fwrite(data, 1, size, file_) != size) failWrite(errno);
}

void OutputFile::writeAt(int64_t offset, const void* data, size_t size) {
  errno = 0;
  if (std::fflush(file_) != 0) failWrite(errno);
  if (fseeko(file_, static_cast<off_t>(offset), SEEK_SET) != 0) failWrite(errno);
  write(data, size);
  if (fseeko(file_, 0, SEEK_END) != 0) failWrite(errno);
}

void OutputFile::close() {
  if (file_ == nullptr) return;
  errno = 0;
  std::FILE* file = file_;
  file_ = nullptr;
  if (std::fclose(file) != 0) failWrite(errno);
}

}  // namespace tarvex
