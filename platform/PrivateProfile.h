#pragma once

#include <QString>
#include <optional>
#include <stdexcept>

namespace tarvex {

// A write to a private-profile file that the system refused.
class PrivateProfileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Key-by-key access to one INI file. Nothing is cached: every read opens the
// file, every write rewrites it at once. Section and key names match without
// regard to letter case and are written in the case given. Lines the class
// does not touch (unknown sections and keys, comments, blank lines) survive
// every write byte for byte.
class PrivateProfile {
 public:
  static constexpr int kMaxValueLength = 2047;

  explicit PrivateProfile(QString filePath);

  const QString& filePath() const { return filePath_; }

  // The value after the "=", trimmed of surrounding blanks and cut to
  // kMaxValueLength characters; nullopt when the file, section or key is
  // missing or the file cannot be read.
  std::optional<QString> readString(const QString& section, const QString& key) const;

  // Creates the folder, file, section or key as needed and replaces the value
  // of an existing key. Throws PrivateProfileError when the file cannot be
  // written; the file is then unchanged.
  void writeString(const QString& section, const QString& key, const QString& value) const;

 private:
  QString filePath_;
};

}  // namespace tarvex
