#pragma once

#include <QString>
#include <stdexcept>

namespace tarvex::cli {

// The command line was not understood; the message says what and how to ask
// for help. Ends the program with status 2.
class UsageError : public std::runtime_error {
 public:
  explicit UsageError(const QString& message)
      : std::runtime_error(message.toStdString()), message_(message) {}
  const QString& message() const { return message_; }

 private:
  QString message_;
};

}  // namespace tarvex::cli
