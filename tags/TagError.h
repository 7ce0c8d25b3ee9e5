#pragma once

#include <QString>
#include <stdexcept>

namespace tarvex {

// A tag could not be read or written; the message is meant for the user.
class TagError : public std::runtime_error {
 public:
  explicit TagError(const QString& message)
      : std::runtime_error(message.toStdString()), message_(message) {}

  const QString& message() const { return message_; }

 private:
  QString message_;
};

}  // namespace tarvex
