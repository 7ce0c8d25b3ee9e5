#pragma once

#include <QString>
#include <stdexcept>

namespace tarvex {

// The one exception type of the audio engine. Its text is meant for the user:
// it names the operation, the file and the reason, e.g.
// "Cannot open /music/a.mp3: not an audio file".
class AudioError : public std::runtime_error {
 public:
  explicit AudioError(const QString& message)
      : std::runtime_error(message.toStdString()), message_(message) {}

  QString message() const { return message_; }

 private:
  QString message_;
};

}  // namespace tarvex
