#pragma once

#include <QFile>
#include <QString>

#include <atomic>
#include <cstddef>

namespace tarvex::mp3frames {

// An output file created only if no file of that name exists; removed again
// unless commit() is reached, so an error or a stop leaves no cut-off file.
class LosslessOutput {
 public:
  explicit LosslessOutput(const QString& fileName);
  ~LosslessOutput();
  LosslessOutput(const LosslessOutput&) = delete;
  LosslessOutput& operator=(const LosslessOutput&) = delete;

  void write(const void* data, size_t size);
  void commit();
  const QString& fileName() const { return fileName_; }

 private:
  QString fileName_;
  QFile file_;
  bool committed_ = false;
};

inline bool stopRequested(const std::atomic<bool>* stopFlag) {
  return stopFlag != nullptr && stopFlag->load(std::memory_order_relaxed);
}

}  // namespace tarvex::mp3frames
