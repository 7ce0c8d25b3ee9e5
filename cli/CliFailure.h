#pragma once

#include <QString>
#include <stdexcept>

namespace tarvex::cli {

// A command could not be carried out on a file or folder the user named; the
// message says which and why. Ends the program with status 1.
class CliFailure : public std::runtime_error {
 public:
  explicit CliFailure(const QString& message)
      : std::runtime_error(message.toStdString()), message_(message) {}
  const QString& message() const { return message_; }

 private:
  QString message_;
};

}  // namespace tarvex::cli
