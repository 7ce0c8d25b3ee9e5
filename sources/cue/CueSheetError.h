#pragma once

#include <QString>
#include <stdexcept>

namespace tarvex {

// A CUE sheet that cannot be read or written. The text is for the user: it
// names the file, the line where there is one, and what is wrong.
class CueSheetError : public std::runtime_error {
 public:
  explicit CueSheetError(const QString& message)
      : std::runtime_error(message.toStdString()), message_(message) {}

  QString message() const { return message_; }

 private:
  QString message_;
};

}  // namespace tarvex
