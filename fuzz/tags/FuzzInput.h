#pragma once

#include <QBuffer>
#include <QByteArray>
#include <cstddef>
#include <cstdint>

namespace tarvex::fuzz {

// A read-only device over the fuzzer's bytes.
class FuzzInput {
 public:
  FuzzInput(const uint8_t* data, size_t size)
      : bytes_(QByteArray::fromRawData(reinterpret_cast<const char*>(data),
                                       static_cast<qsizetype>(size))) {
    buffer_.setData(bytes_);
    buffer_.open(QIODevice::ReadOnly);
  }
  QBuffer& device() { return buffer_; }

 private:
  QByteArray bytes_;
  QBuffer buffer_;
};

}  // namespace tarvex::fuzz
