#pragma once

#include <QString>

#include "platform/Error.h"
#include "platform/PrivateProfile.h"

namespace tarvex {

// A settings write the system refused: "Unable to write to Quillmere.ini".
class SettingsWriteError : public Error {
 public:
  using Error::Error;
};

// Typed reads with a default and writes that go straight to the settings file.
//  - integer: decimal text, "-" for negatives; a text of more than two
//    characters starting "0x"/"0X" is hexadecimal; anything that is not a
//    whole 32-bit number gives the default.
//  - boolean: written "1"/"0"; read as an integer, any non-zero value is true.
//  - text: unchanged, at most 2047 characters returned.
class SettingsFile {
 public:
  explicit SettingsFile(const QString& filePath);

  const QString& filePath() const { return profile_.filePath(); }

  int GetInt(const QString& section, const QString& key, int defaultValue) const;
  bool GetBool(const QString& section, const QString& key, bool defaultValue) const;
  QString GetText(const QString& section, const QString& key, const QString& defaultValue) const;

  void PutInt(const QString& section, const QString& key, int value) const;
  void PutBool(const QString& section, const QString& key, bool value) const;
  void PutText(const QString& section, const QString& key, const QString& value) const;

  // Every key of the file from one read, for a caller that reads many keys.
  ProfileContents ReadAll() const { return profile_.readAll(); }
  // How many times the file's keys were read through this object.
  int fileReads() const { return profile_.fileReads(); }

  // The integer rule alone, for a text already in hand.
  static int parseInt(const QString& text, int defaultValue);

 private:
  PrivateProfile profile_;
};

}  // namespace tarvex
