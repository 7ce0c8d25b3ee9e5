#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "platform/Error.h"

namespace tarvex {

// A write to a private-profile file that the system refused.
class PrivateProfileError : public Error {
 public:
  using Error::Error;
};

// Every key of an INI file as it was when the file was read once. Lookups
// follow the same rules as PrivateProfile::readString.
class ProfileContents {
 public:
  struct Entry {
    QString section;
    QString key;
    QString value;
  };

  ProfileContents() = default;
  explicit ProfileContents(std::vector<Entry> entries) : entries_(std::move(entries)) {}

  std::optional<QString> value(const QString& section, const QString& key) const;

 private:
  std::vector<Entry> entries_;
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

  // Reads the file once and keeps every key; an unreadable or missing file
  // gives no keys.
  ProfileContents readAll() const;

  // How many times this object has read the file's keys (readString and
  // readAll), so that callers can see a load is one read and not one per key.
  int fileReads() const { return fileReads_; }

  // Creates the folder, file, section or key as needed and replaces the value
  // of an existing key. Throws PrivateProfileError when the file cannot be
  // written; the file is then unchanged.
  void writeString(const QString& section, const QString& key, const QString& value) const;

 private:
  QString filePath_;
  mutable int fileReads_ = 0;
};

}  // namespace tarvex
