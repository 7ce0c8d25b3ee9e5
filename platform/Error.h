#pragma once

#include <QString>
#include <stdexcept>

namespace tarvex {

// The base of every error our code raises on purpose. Its message is meant
// for the user as it stands: what failed, on which file, and why, e.g.
// "Cannot open /music/a.mp3: not an audio file". Where a command or a player
// event enters our code, an Error is caught and its message shown.
class Error : public std::runtime_error {
 public:
  explicit Error(const QString& message)
      : std::runtime_error(message.toStdString()), message_(message) {}
  explicit Error(const std::string& message)
      : std::runtime_error(message), message_(QString::fromStdString(message)) {}
  explicit Error(const char* message) : Error(std::string(message)) {}

  const QString& message() const { return message_; }

 private:
  QString message_;
};

// The text to show for any exception that reached a boundary: an Error's own
// message, else what the exception says.
inline QString userMessage(const std::exception& error) {
  if (const auto* ours = dynamic_cast<const Error*>(&error)) return ours->message();
  return QString::fromUtf8(error.what());
}

}  // namespace tarvex
