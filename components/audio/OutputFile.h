#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace tarvex {

// A file created (or overwritten) for writing, with user-readable errors.
class OutputFile {
 public:
  explicit OutputFile(const QString& fileName);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  void write(const void* data, size_t size);
  void writeAt(int64_t offset, const void* data, size_t size);
  void close();
  const QString& fileName() const { return fileName_; }

 private:
  [[noreturn]] void failWrite(int errorNumber) const;

  QString fileName_;
  std::FILE* file_ = nullptr;
};

}  // namespace tarvex
