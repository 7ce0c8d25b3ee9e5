#include "config/SettingsFile.h"

#include <QFileInfo>
#include <limits>

namespace tarvex {

SettingsFile::SettingsFile(const QString& filePath) : profile_(filePath) {}

int SettingsFile::parseInt(const QString& text, int defaultValue) {
  const QString trimmed = text.trimmed();
  bool ok = false;
  qlonglong value = 0;
  if (trimmed.size() > 2 &&
      (trimmed.startsWith(QLatin1String("0x")) || trimmed.startsWith(QLatin1String("0X")))) {
    // Hexadecimal keeps the bit pattern of a 32-bit value ("0xFFFFFFFF" is -1).
    const qulonglong bits = trimmed.mid(2).toULongLong(&ok, 16);
    if (!ok || bits > std::numeric_limits<quint32>::max()) return defaultValue;
    return static_cast<int>(static_cast<quint32>(bits));
  }
  value = trimmed.toLongLong(&ok, 10);
  if (!ok || value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) {
    return defaultValue;
  }
  return static_cast<int>(value);
}

int SettingsFile::GetInt(const QString& section, const QString& key, int defaultValue) const {
  const auto text = profile_.readString(section, key);
  return text ? parseInt(*text, defaultValue) : defaultValue;
}

bool SettingsFile::GetBool(const QString& section, const QString& key, bool defaultValue) const {
  return GetInt(section, key, defaultValue ? 1 : 0) != 0;
}

QString SettingsFile::GetText(const QString& section, const QString& key,
                              const QString& defaultValue) const {
  return profile_.readString(section, key).value_or(defaultValue);
}

void SettingsFile::PutInt(const QString& section, const QString& key, int value) const {
  PutText(section, key, QString::number(value));
}

void SettingsFile::PutBool(const QString& section, const QString& key, bool value) const {
  PutText(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void SettingsFile::PutText(const QString& section, const QString& key, const QString& value) const {
  try {
    profile_.writeString(section, key, value);
  } catch (const PrivateProfileError& error) {
    throw SettingsWriteError(error.message());
  }
}

}  // namespace tarvex
