#pragma once

#include <QString>
#include <stdexcept>

namespace tarvex::skin {

// A skin text or skin file that cannot be used; the message is meant for the
// user (it names the fault and, where known, the line).
class SkinError : public std::runtime_error {
 public:
  explicit SkinError(const QString& message)
      : std::runtime_error(message.toStdString()), message_(message) {}
  const QString& message() const { return message_; }

 private:
  QString message_;
};

}  // namespace tarvex::skin
